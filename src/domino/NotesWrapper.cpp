#include "NotesWrapper.h"

#include <algorithm>

namespace velloran::domino {

void throwComponentFailure(const std::exception& failure) {
    if (const auto* known = dynamic_cast<const platform::Failure*>(&failure)) throw *known;
    throw databaseFailure(failure.what());
}

std::string toUtf8(const QString& text) { return text.toStdString(); }

void toUtf8(const QString& text, std::string& out) {
    const bool ascii = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        out = toUtf8(text);
        return;
    }
    out.resize(static_cast<std::size_t>(text.size()));
    std::transform(text.cbegin(), text.cend(), out.begin(), [](QChar c) { return static_cast<char>(c.unicode()); });
}

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QStringList fromUtf8(const notes::StringList& texts) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) out << fromUtf8(text);
    return out;
}

}  // namespace velloran::domino
