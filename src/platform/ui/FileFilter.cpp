#include "ui/FileFilter.h"

#include <QStringList>

namespace velloran::platform {

QString toQtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts[i];
        QString patterns = i + 1 < parts.size() ? parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ') : QString();
        if (description.isEmpty() && patterns.isEmpty()) continue;
        entries << (patterns.isEmpty() ? description : description + QStringLiteral(" (") + patterns + u')');
    }
    return entries.join(u";;");
}

}  // namespace velloran::platform
