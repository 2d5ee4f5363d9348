#pragma once
// The batch tool's front end on the terminal: messages and progress on
// standard error, a progress bar redrawn in place on a terminal and printed
// every tenth of the way otherwise. Nothing is ever asked: a file or text
// prompt is answered as cancelled.
#include "ui/Prompts.h"
#include "ui/WaitIndicator.h"

#include <QElapsedTimer>

#include <ostream>

namespace velloran::batch {

class Terminal : public platform::Prompts, public platform::WaitIndicator {
public:
    Terminal(std::ostream& out, bool interactive);

    platform::MessageAnswer message(const QString& text, const QString& caption, platform::MessageIcon icon,
                                    platform::MessageButtons buttons) override;
    QString openFileName(const QString&) override { return {}; }
    QString saveFileName(const QString&) override { return {}; }
    platform::InputResult input(const QString&, const QString&, const QString&) override { return {}; }

    void ShowWait() override { shown_ = true; }
    void ShowWaitMsg(const QString& text) override;
    void SetWaitMsg(const QString& text) override;
    void SetWaitProgress(int maximum, int position) override;
    void CloseWait() override;

    static constexpr int kBarWidth = 30;
    static constexpr qint64 kRedrawMs = 100;

private:
    void draw();
    // Ends an open progress line so that the next output starts afresh.
    void endLine();
    // The position as a share of the maximum, on a scale of `scale`.
    int share(int scale) const;

    std::ostream& out_;
    bool interactive_;
    bool shown_ = false;
    bool lineOpen_ = false;
    QString text_;
    int maximum_ = 0;
    int position_ = 0;
    int printedTenths_ = -1;
    QElapsedTimer sinceDraw_;
};

}  // namespace velloran::batch
