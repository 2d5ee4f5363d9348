#include "HeldDiagnostics.h"

#include "errors/Failure.h"

namespace velloran::batch {

void HeldDiagnostics::hold(const QString& message) {
    const std::lock_guard lock(guard_);
    ++count_;
    if (kept_.size() < kKept) kept_.push_back(message.trimmed());
}

int HeldDiagnostics::count() const {
    const std::lock_guard lock(guard_);
    return count_;
}

int HeldDiagnostics::hiddenBeside(const std::exception* error) const {
    const std::lock_guard lock(guard_);
    if (!error) return count_;
    const QString printed = QString::fromStdString(platform::describeFailure(*error, true));
    int repeated = 0;
    for (const QString& message : kept_)
        if (printed.contains(message)) ++repeated;
    return count_ - repeated + (platform::hidesDetail(*error) ? 1 : 0);
}

}  // namespace velloran::batch
