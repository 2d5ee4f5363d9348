#pragma once
// A log line as the pieces it is made of, appended to the run's text
// without building a string of its own: the export writes millions of
// lines, so a line costs no allocation of its own.
//
// A line refers to the texts it was made from; write it in the statement
// that makes it.
#include "text/Gb18030Encoder.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>

namespace velloran::exporting {

class LogLine {
public:
    // Fixed text, as it is.
    LogLine& text(QStringView fixed);
    // A decimal number.
    LogLine& number(qint64 value);
    // A name or path, its control characters written out so that it stays
    // within its line: CR, LF and tab as "\r", "\n" and "\t", the others
    // (below 0x20, and 0x7F) as "\xHH"; a backslash stays as it is.
    LogLine& name(QStringView name);
    // A value that keeps its line breaks ("\r\n", a lone "\r" or a lone
    // "\n"), each as CR LF.
    LogLine& value(QStringView value);

    void appendTo(QString& out) const;
    QString toString() const;
    // Appends the line's GB18030 bytes: those of toString().
    void encodeTo(QByteArray& out, platform::Gb18030Encoder& encoder) const;

private:
    enum class Kind : std::uint8_t { Text, Number, Name, Value };
    struct Piece {
        Kind kind = Kind::Text;
        QStringView text;
        qint64 number = 0;
    };
    LogLine& add(Piece piece);
    template <class Sink>
    void appendPieces(Sink& out) const;

    // The longest line has seven pieces.
    std::array<Piece, 8> pieces_;
    std::size_t count_ = 0;
};

}  // namespace velloran::exporting
