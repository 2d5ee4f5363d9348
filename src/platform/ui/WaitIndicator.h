#pragma once
// Shows that long work is under way: a message, an optional progress bar.
// The window shows the wait window; the command-line tools print progress on
// the terminal; tests record the calls.
#include <QString>

namespace velloran::platform {

class WaitIndicator {
public:
    virtual ~WaitIndicator() = default;

    // With the progress bar and the standard text; nothing when already shown.
    virtual void ShowWait() = 0;
    // With the given text and no progress bar; nothing when already shown.
    virtual void ShowWaitMsg(const QString& text) = 0;
    // Each of these does nothing when nothing is shown.
    virtual void SetWaitMsg(const QString& text) = 0;
    virtual void SetWaitProgress(int maximum, int position) = 0;
    virtual void CloseWait() = 0;
    // Lets pending window messages run during long work (the export does
    // this after each document and cell).
    virtual void ProcessMessages() {}
};

}  // namespace velloran::platform
