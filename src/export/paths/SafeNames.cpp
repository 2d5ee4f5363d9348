#include "paths/SafeNames.h"

namespace velloran::exporting {

namespace {

constexpr QChar kReplacement = QLatin1Char('_');
// An extension longer than this is not worth keeping when a name is cut.
constexpr qsizetype kMaxKeptExtension = 32;

bool isUnsafeCharacter(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') || c.unicode() < 0x20 ||
           c.unicode() == 0x7f;
}

bool isOnlyDotsAndBlanks(const QString& name) {
    for (QChar c : name)
        if (c != QLatin1Char('.') && c != QLatin1Char(' ')) return false;
    return true;
}

// The longest start of `text` of at most `maxBytes` UTF-8 bytes, never
// ending inside a surrogate pair.
QString cutToUtf8Bytes(const QString& text, qsizetype maxBytes) {
    if (text.toUtf8().size() <= maxBytes) return text;
    qsizetype bytes = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const bool pair = text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate();
        const qsizetype units = pair ? 2 : 1;
        const qsizetype size = text.mid(pos, units).toUtf8().size();
        if (bytes + size > maxBytes) break;
        bytes += size;
        pos += units;
    }
    return text.left(pos);
}

// The extension kept when a name is cut or numbered: from its last dot,
// when that is not the first character and the extension is short.
qsizetype extensionStart(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && name.size() - dot <= kMaxKeptExtension ? dot : name.size();
}

}  // namespace

QString safeFileName(const QString& name) {
    if (isOnlyDotsAndBlanks(name)) return QString(std::max<qsizetype>(name.size(), 1), kReplacement);
    QString safe = name;
    for (QChar& c : safe)
        if (isUnsafeCharacter(c)) c = kReplacement;
    // A leading dot would hide the file.
    for (qsizetype i = 0; i < safe.size() && safe[i] == QLatin1Char('.'); ++i) safe[i] = kReplacement;
    return withSuffix(safe, QString());
}

QString withSuffix(const QString& safeName, const QString& suffix) {
    const qsizetype extension = extensionStart(safeName);
    const QString tail = suffix + safeName.mid(extension);
    return cutToUtf8Bytes(safeName.left(extension), kMaxNameBytes - tail.toUtf8().size()) + tail;
}

QStringList safeFolderParts(const QString& path) {
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) parts << safeFileName(part);
    return parts;
}

}  // namespace velloran::exporting
