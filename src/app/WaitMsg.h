#pragma once
// The wait window: a small borderless window above the main window with a
// message, an optional progress bar and a looping search animation, shown
// while long work runs on the user-interface thread. There is at most one,
// held in one module-wide reference; the five free functions drive it and
// each is safe to call whether or not it is shown.
//
// The work that follows holds the event loop, so the window reaches the
// screen before the show functions return, and every change of its text or
// progress is painted at once. It is a tool window of the main window that
// never takes the focus: message boxes shown while it is up open above it.
#include "ui/WaitIndicator.h"

#include <QElapsedTimer>
#include <QWidget>

#include <optional>
#include <utility>

class QFrame;
class QLabel;
class QProgressBar;

namespace velloran::app {

class SearchAnimation;

class TMsgFrm : public QWidget {
    Q_OBJECT
public:
    static inline const QString kDesignText = QStringLiteral("正在导入数据，请稍候...");

    explicit TMsgFrm(QWidget* owner);
    ~TMsgFrm() override;

    QFrame* MsgPanel;
    QLabel* LblMsg;
    QProgressBar* ProgressBar;
    SearchAnimation* Ani;

    // Paints the panel now, without waiting for the event loop. Once the
    // caller lets events run during its work (eventsRunDuringWork), updates
    // closer together than the eye can follow are left to those events.
    void repaintNow();
    void eventsRunDuringWork() { eventsRun_ = true; }
    // Show the text and the progress with the next paint repaintNow makes.
    void showMessage(const QString& text);
    void showProgress(int maximum, int position);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QElapsedTimer sincePaint_;
    bool eventsRun_ = false;
    std::optional<QString> pendingMessage_;
    std::optional<std::pair<int, int>> pendingProgress_;
};

// The wait window being shown, or null.
TMsgFrm* currentWaitWindow();

void ShowWait();
void ShowWaitMsg(const QString& text);
void SetWaitMsg(const QString& text);
void SetWaitProgress(int maximum, int position);
void CloseWait();

// The wait window as the export and the browsing commands see it.
class WaitMsgIndicator : public platform::WaitIndicator {
public:
    void ShowWait() override { app::ShowWait(); }
    void ShowWaitMsg(const QString& text) override { app::ShowWaitMsg(text); }
    void SetWaitMsg(const QString& text) override { app::SetWaitMsg(text); }
    void SetWaitProgress(int maximum, int position) override { app::SetWaitProgress(maximum, position); }
    void CloseWait() override { app::CloseWait(); }
    void ProcessMessages() override;
};

}  // namespace velloran::app
