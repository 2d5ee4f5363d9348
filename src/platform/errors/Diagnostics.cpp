#include "errors/Diagnostics.h"

#include "errors/Failure.h"

namespace velloran::platform {

Q_LOGGING_CATEGORY(diagnostics, "velloran.diagnostics")

void logCaughtReason(const char* what, const std::exception& reason) {
    qCWarning(diagnostics).noquote() << QString::fromUtf8(what) + QStringLiteral(": ") + QString::fromStdString(originalOf(reason));
}

}  // namespace velloran::platform
