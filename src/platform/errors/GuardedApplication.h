#pragma once
// Failures that no command handles end at the application: every exception
// that escapes an event handler is caught here and shown through the error
// report, and the event loop goes on.
#include "ui/Prompts.h"
#include "ui/QtPrompts.h"

#include <QApplication>

#include <functional>

namespace velloran::platform {

// Runs `work`; an exception escaping it is shown through reportError and
// goes no further. Returns whether `work` ran to its end.
bool runGuarded(Prompts& prompts, const std::function<void()>& work);

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);

    // The prompts that show the reports; null (and the start) means real
    // dialogs. Prompts set here must stay alive until they are replaced.
    void setPrompts(Prompts* prompts) { prompts_ = prompts ? prompts : &dialogs_; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    QtPrompts dialogs_;
    Prompts* prompts_ = &dialogs_;
};

}  // namespace velloran::platform
