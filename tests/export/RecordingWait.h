#pragma once
// A wait indicator for tests: every call recorded as one line of text.
// `onProgress`, when set, runs at each progress step: a test's way to act
// between two documents of a run.
#include "ui/WaitIndicator.h"

#include <QStringList>

#include <functional>

namespace velloran::testing {

class RecordingWait : public platform::WaitIndicator {
public:
    void ShowWait() override { calls << QStringLiteral("ShowWait"); }
    void ShowWaitMsg(const QString& text) override { calls << QStringLiteral("ShowWaitMsg ") + text; }
    void SetWaitMsg(const QString& text) override { calls << QStringLiteral("SetWaitMsg ") + text; }
    void SetWaitProgress(int maximum, int position) override {
        calls << QStringLiteral("SetWaitProgress %1 %2").arg(maximum).arg(position);
        if (onProgress) onProgress(position);
    }
    void CloseWait() override { calls << QStringLiteral("CloseWait"); }

    QStringList calls;
    std::function<void(int position)> onProgress;
};

}  // namespace velloran::testing
