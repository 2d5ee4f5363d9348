#include "steps/Guarded.h"

#include "errors/Failure.h"
#include "log/LogLines.h"

namespace velloran::exporting {

void StepGuard::report(int n, const QString& what, const std::exception& error) const {
    log_.write(lines::documentStepFailed(n, what, QString::fromStdString(platform::describeFailure(error, false))));
}

}  // namespace velloran::exporting
