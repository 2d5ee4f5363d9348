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

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>

namespace velloran::exporting {

class LogLine {
public:
    LogLine() = default;
    // Copies the pieces in use only.
    LogLine(const LogLine& other) : count_(other.count_) {
        std::copy_n(other.pieces_.begin(), count_, pieces_.begin());
    }
    LogLine& operator=(const LogLine&) = delete;

    // Fixed text, as it is.
    LogLine& text(QStringView fixed) { return add(Kind::Text, fixed, 0); }
    // A decimal number.
    LogLine& number(qint64 value) { return add(Kind::Number, {}, value); }
    // A name or path, its control characters written out so that it stays
    // within its line: CR, LF and tab as "\r", "\n" and "\t", the others
    // (below 0x20, and 0x7F) as "\xHH"; a backslash stays as it is.
    LogLine& name(QStringView name) { return add(Kind::Name, name, 0); }
    // A value that keeps its line breaks ("\r\n", a lone "\r" or a lone
    // "\n"), each as CR LF.
    LogLine& value(QStringView value) { return add(Kind::Value, value, 0); }

    void appendTo(QString& out) const;
    QString toString() const;
    // Appends the line's GB18030 bytes: those of toString().
    void encodeTo(QByteArray& out, platform::Gb18030Encoder& encoder) const;

private:
    enum class Kind : std::uint8_t { Text, Number, Name, Value };
    // Plain data, so that the room for pieces a line does not use is
    // neither filled nor copied.
    struct Piece {
        Kind kind;
        const QChar* text;
        qsizetype size;
        qint64 number;
        QStringView view() const { return {text, size}; }
    };
    // Made inline: the export makes millions of lines.
    LogLine& add(Kind kind, QStringView text, qint64 number) {
        if (count_ == pieces_.size()) throw std::logic_error("a log line has room for eight pieces only");
        pieces_[count_++] = {kind, text.data(), text.size(), number};
        return *this;
    }
    template <class Sink>
    void appendPieces(Sink& out) const;

    // The longest line has seven pieces.
    std::array<Piece, 8> pieces_;
    std::size_t count_ = 0;
};

// A name with its control characters written out as a log line writes them,
// for any text that goes to a terminal: there a raw escape sequence could
// retitle the window or fake a line.
inline QString writtenOut(QStringView name) { return LogLine().name(name).toString(); }

}  // namespace velloran::exporting
