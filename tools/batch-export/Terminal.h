#pragma once
// The batch tool's front end on the terminal: messages and progress on
// standard error, each line starting "velloran-export: ". On a terminal the
// progress is one line redrawn in place; otherwise a line is printed every
// tenth of the way; quiet, none. Nothing is ever asked: a file or text
// prompt is answered as cancelled.
#include "ui/Prompts.h"
#include "ui/WaitIndicator.h"

#include <QElapsedTimer>

#include <ostream>
#include <string>

namespace velloran::batch {

inline constexpr const char* kToolPrefix = "velloran-export: ";

// Every line of `text` starting with the tool's prefix, each ending in "\n".
std::string prefixedLines(const QString& text);

// "[####......] 40% 40/100个文档 20个/秒 剩余0:00:03": documents done of the
// total, documents a second and the time left, from the time the progress
// took so far (the last two only once some time has passed and some
// documents are done).
std::string progressLine(int maximum, int position, qint64 elapsedMs);

class Terminal : public platform::Prompts, public platform::WaitIndicator {
public:
    enum class Progress { Redrawn, Tenths, None };

    Terminal(std::ostream& out, Progress progress);

    platform::MessageAnswer message(const QString& text, const QString& caption, platform::MessageIcon icon,
                                    platform::MessageButtons buttons) override;
    QString openFileName(const QString&, const QString&) override { return {}; }
    platform::SaveFileChoice saveFileName(const QString&, const QString&) override { return {}; }
    platform::InputResult input(const QString&, const QString&, const QString&) override { return {}; }

    void ShowWait() override { shown_ = true; }
    void ShowWaitMsg(const QString&) override { shown_ = true; }
    void SetWaitMsg(const QString&) override {}
    void SetWaitProgress(int maximum, int position) override;
    void CloseWait() override;

    static constexpr int kBarWidth = 30;
    static constexpr qint64 kRedrawMs = 100;

private:
    void draw();
    // Whether the progress has moved far enough to be drawn again.
    bool due() const;
    // Ends an open progress line so that the next output starts afresh.
    void endLine();
    int tenths() const;

    std::ostream& out_;
    Progress progress_;
    bool shown_ = false;
    bool lineOpen_ = false;
    int maximum_ = 0;
    int position_ = 0;
    int printedTenths_ = -1;
    QElapsedTimer sinceStart_;
    QElapsedTimer sinceDraw_;
};

}  // namespace velloran::batch
