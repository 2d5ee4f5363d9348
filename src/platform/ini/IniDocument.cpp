#include "ini/IniDocument.h"

#include "text/Gb18030.h"

namespace velloran::platform {

namespace {

QString trimmedBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
    while (first < last && blank(text[first])) ++first;
    while (last > first && blank(text[last - 1])) --last;
    return text.mid(first, last - first);
}

// "[name]" (blanks allowed around it and the name) gives the name.
std::optional<QString> sectionName(const QString& line) {
    QString text = trimmedBlanks(line);
    qsizetype close = text.indexOf(u']');
    if (!text.startsWith(u'[') || close < 0) return std::nullopt;
    return trimmedBlanks(text.mid(1, close - 1));
}

// "key=value" gives the key; comments and lines without "=" give nothing.
std::optional<QString> keyName(const QString& line) {
    QString text = trimmedBlanks(line);
    qsizetype equals = text.indexOf(u'=');
    if (equals <= 0 || text.startsWith(u';') || text.startsWith(u'#')) return std::nullopt;
    QString key = trimmedBlanks(text.left(equals));
    return key.isEmpty() ? std::nullopt : std::optional<QString>(key);
}

bool sameName(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool hasLineBreak(const QString& text) { return text.contains(u'\n') || text.contains(u'\r'); }

void checkStorable(const QString& section, const QString& key, const QString& value) {
    // Reading trims the blanks around a section name, so a name with blanks
    // at its edges would be written under a header it is never found by.
    if (hasLineBreak(section) || section.contains(u']') || trimmedBlanks(section) != section)
        throw Failure(Failure::Kind::Settings,
                      "设置的节名“" + section.toStdString() + "”不能含换行符或 ]，也不能以空格开头或结尾",
                      {"", "The INI section name \"" + section.toStdString() +
                               "\" cannot hold a line break or ], nor start or end with a blank", 0, false});
    // A key must read back as a key: not a section header, not a comment.
    if (key.isEmpty() || hasLineBreak(key) || key.contains(u'=') || key.startsWith(u'[') ||
        key.startsWith(u';') || key.startsWith(u'#') || trimmedBlanks(key) != key)
        throw Failure(Failure::Kind::Settings, "“" + key.toStdString() + "”不能作为设置的键名",
                      {"", "\"" + key.toStdString() + "\" cannot be an INI key name", 0, false});
    if (hasLineBreak(value))
        throw Failure(Failure::Kind::Settings, "设置项“" + key.toStdString() + "”的值不能含换行符",
                      {"", "The value of INI key \"" + key.toStdString() + "\" cannot hold a line break", 0, false});
}

bool enclosedInQuotes(const QString& value) {
    return value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front();
}

// Reading removes blanks around a value and one pair of enclosing quotes,
// so a value that starts or ends with a blank or stands in quotes itself
// is stored inside one more pair of quotes; it then reads back unchanged.
QString storedForm(const QString& value) {
    bool blankAtEdge = trimmedBlanks(value).size() != value.size();
    return blankAtEdge || enclosedInQuotes(value) ? u'"' + value + u'"' : value;
}

QString readForm(const QString& stored) {
    QString value = trimmedBlanks(stored);
    return enclosedInQuotes(value) ? value.mid(1, value.size() - 2) : value;
}

}  // namespace

IniDocument IniDocument::parse(const QByteArray& bytes) {
    IniDocument document;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0) {
            document.lines_.push_back({bytes.mid(start), {}});
            break;
        }
        qsizetype textEnd = newline > start && bytes[newline - 1] == '\r' ? newline - 1 : newline;
        document.lines_.push_back({bytes.mid(start, textEnd - start), bytes.mid(textEnd, newline + 1 - textEnd)});
        start = newline + 1;
    }
    if (!document.lines_.empty() && !document.lines_.front().end.isEmpty())
        document.newLine_ = document.lines_.front().end;
    return document;
}

std::optional<IniDocument::Section> IniDocument::findSection(const QString& name) const {
    const auto count = static_cast<qsizetype>(lines_.size());
    for (qsizetype i = 0; i < count; ++i) {
        std::optional<QString> found = sectionName(lineText(i));
        if (!found || !sameName(*found, name)) continue;
        qsizetype end = i + 1;
        while (end < count && !sectionName(lineText(end))) ++end;
        return Section{i, end};
    }
    return std::nullopt;
}

std::optional<qsizetype> IniDocument::findKey(const Section& section, const QString& key) const {
    for (qsizetype i = section.header + 1; i < section.end; ++i) {
        std::optional<QString> found = keyName(lineText(i));
        if (found && sameName(*found, key)) return i;
    }
    return std::nullopt;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    std::optional<Section> found = findSection(section);
    std::optional<qsizetype> line = found ? findKey(*found, key) : std::nullopt;
    if (!line) return std::nullopt;
    QString text = lineText(*line);
    return readForm(text.mid(text.indexOf(u'=') + 1));
}

qsizetype IniDocument::lastContentLine(const Section& section) const {
    qsizetype last = section.end - 1;
    while (last > section.header && isBlank(last)) --last;
    return last;
}

void IniDocument::insertLine(qsizetype at, const QString& text) {
    if (at > 0 && lines_[at - 1].end.isEmpty()) lines_[at - 1].end = newLine_;
    lines_.insert(lines_.begin() + at, Line{toGb18030(text), newLine_});
}

void IniDocument::appendLine(const QString& text) { insertLine(static_cast<qsizetype>(lines_.size()), text); }

bool IniDocument::isBlank(qsizetype line) const { return trimmedBlanks(lineText(line)).isEmpty(); }

QString IniDocument::lineText(qsizetype line) const { return fromGb18030(lines_[line].text); }

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    checkStorable(section, key, value);
    std::optional<Section> found = findSection(section);
    if (!found) {
        // A blank line sets the new section apart from what stands before it.
        if (!lines_.empty() && !isBlank(static_cast<qsizetype>(lines_.size()) - 1)) appendLine({});
        appendLine(u'[' + section + u']');
        appendLine(key + u'=' + storedForm(value));
        return;
    }
    if (std::optional<qsizetype> line = findKey(*found, key)) {
        QString existingKey = *keyName(lineText(*line));
        lines_[*line].text = toGb18030(existingKey + u'=' + storedForm(value));
        return;
    }
    insertLine(lastContentLine(*found) + 1, key + u'=' + storedForm(value));
}

QByteArray IniDocument::toBytes() const {
    QByteArray bytes;
    for (const Line& line : lines_) bytes += line.text + line.end;
    return bytes;
}

}  // namespace velloran::platform
