#include "paths/DocumentFiles.h"

#include "paths/SafeNames.h"

namespace velloran::exporting {

namespace {

// The unnumbered name counts as number 1; numbered names start at 2.
constexpr int kUnnumbered = 1;

}  // namespace

QString DocumentFiles::claim(const QString& name) {
    const QString safe = safeFileName(name);
    int number = nextNumber_.value(safe, kUnnumbered);
    QString unique = candidate(safe, number);
    while (isTaken(unique)) unique = candidate(safe, ++number);
    taken_.insert(unique);
    nextNumber_.insert(safe, number + 1);
    return folder_ + unique;
}

bool DocumentFiles::isTaken(const QString& name) {
    ++namesTried_;
    return taken_.contains(name);
}

QString DocumentFiles::candidate(const QString& safe, int number) const {
    return number == kUnnumbered ? safe : withSuffix(safe, QStringLiteral(" (%1)").arg(number));
}

}  // namespace velloran::exporting
