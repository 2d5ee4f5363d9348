#include "errors/GuardedApplication.h"

#include "errors/ErrorReport.h"

#include <exception>

namespace velloran::platform {

namespace {

QString messageOf(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("An unexpected error occurred");
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
