#include "paths/DocumentFiles.h"

#include "paths/SafeNames.h"

namespace velloran::exporting {

QString DocumentFiles::claim(const QString& name) {
    const QString safe = safeFileName(name);
    QString unique = safe;
    for (int number = 2; taken_.contains(unique); ++number)
        unique = withSuffix(safe, QStringLiteral(" (%1)").arg(number));
    taken_.insert(unique);
    return folder_ + unique;
}

}  // namespace velloran::exporting
