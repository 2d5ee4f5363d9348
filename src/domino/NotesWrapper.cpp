#include "NotesWrapper.h"

namespace velloran::domino {

std::string toUtf8(const QString& text) { return text.toStdString(); }

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QStringList fromUtf8(const notes::StringList& texts) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) out << fromUtf8(text);
    return out;
}

}  // namespace velloran::domino
