#include "errors/GuardedApplication.h"

#include "errors/Diagnostics.h"
#include "errors/ErrorReport.h"

#include <exception>

namespace velloran::platform {

namespace {

// The text the user is shown for a failure; its reason also goes to the
// diagnostics channel.
QString messageOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        logCaughtReason("a command failed", e);
        return failureText(e);
    } catch (...) {
        qCWarning(diagnostics) << "a command failed with something that is not a standard exception";
        return QStringLiteral("发生了意外错误");
    }
}

}  // namespace

// In both guards the box is shown after the catch block has been left, so
// that its own event loop does not run while an exception is being handled.

bool runGuarded(Prompts& prompts, const std::function<void()>& work) {
    std::exception_ptr failure;
    try {
        work();
        return true;
    } catch (...) {
        failure = std::current_exception();
    }
    reportError(prompts, messageOf(failure));
    return false;
}

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    std::exception_ptr failure;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        failure = std::current_exception();
    }
    reportError(*prompts_, messageOf(failure));
    return false;
}

}  // namespace velloran::platform
