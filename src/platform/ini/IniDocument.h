#pragma once
// The lines of one INI profile, as read from disk, with the platform's
// lookup rules: section and key names match without regard to letter case,
// and the first matching section and key win. Lines are kept as raw bytes
// with their own line ends, so that writing one key leaves every other
// line (other sections, keys, comments, odd bytes) exactly as it was.
#include "errors/Failure.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace velloran::platform {

class IniDocument {
public:
    // Splits GB18030 bytes into lines; an empty text is an empty document.
    static IniDocument parse(const QByteArray& bytes);

    // The key's value without the blanks around it and without one pair of
    // enclosing quotes (" or '); nothing when the section or the key is
    // absent.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Stores the value so that value() gives it back unchanged: replaces
    // the key's value, or appends the key at the end of its
    // section, or appends the section at the end of the document. Throws a
    // Failure (Kind::Settings) when a name or the value cannot be stored on
    // one line.
    void setValue(const QString& section, const QString& key, const QString& value);

    QByteArray toBytes() const;

private:
    struct Line {
        QByteArray text;  // without its line end
        QByteArray end;   // "\r\n", "\n", or empty for a last line without one
    };
    struct Section {
        qsizetype header;   // index of the "[name]" line
        qsizetype end;      // index one past its last line
    };

    std::optional<Section> findSection(const QString& name) const;
    std::optional<qsizetype> findKey(const Section& section, const QString& key) const;
    qsizetype lastContentLine(const Section& section) const;
    // Inserts a line before line `at`, ending the line above it first when
    // that was the last line and had no line end.
    void insertLine(qsizetype at, const QString& text);
    void appendLine(const QString& text);
    bool isBlank(qsizetype line) const;
    QString lineText(qsizetype line) const;

    std::vector<Line> lines_;
    QByteArray newLine_ = "\r\n";  // for lines this program adds
};

}  // namespace velloran::platform
