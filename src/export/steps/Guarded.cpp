#include "steps/Guarded.h"

#include "log/LogLines.h"

namespace velloran::exporting {

void StepGuard::report(int n, const QString& what, const std::exception& error) const {
    log_.write(lines::documentStepFailed(n, what, QString::fromUtf8(error.what())));
}

}  // namespace velloran::exporting
