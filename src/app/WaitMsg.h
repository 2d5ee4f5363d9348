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
// While it is up, the main window shows the busy cursor.
//
// Work that can be stopped (the export) runs inside a CancellableWait: its
// wait window also has a "取消" button, Esc anywhere in the main window
// presses it, and the events let run during the work deliver those presses
// while the main window's own clicks and keys are dropped. Pressing it sets
// the work's stop flag; the work decides where it stops.
#include "ui/WaitIndicator.h"

#include <QElapsedTimer>
#include <QWidget>

#include <atomic>
#include <optional>
#include <utility>

class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;

namespace velloran::app {

class SearchAnimation;

class TMsgFrm : public QWidget {
    Q_OBJECT
public:
    static inline const QString kDesignText = QStringLiteral("正在导入数据，请稍候...");
    static inline const QString kCancelCaption = QStringLiteral("取消");

    explicit TMsgFrm(QWidget* owner);
    ~TMsgFrm() override;

    QFrame* MsgPanel;
    QLabel* LblMsg;
    QProgressBar* ProgressBar;
    SearchAnimation* Ani;
    // Shown only for work that can be stopped.
    QPushButton* BtnCancel;

    // Adds the cancel button and keeps the main window's input away from the
    // work while the window is up.
    void offerCancel();

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

// The text as it fits `width`: a counter at its end ("166098/300000") always
// shows whole, and what does not fit is cut from the middle of the text
// before it.
QString fittedWaitText(const QString& text, const QFontMetrics& metrics, int width);

// Marks the work of its lifetime as work that can be stopped through `stop`.
class CancellableWait {
public:
    explicit CancellableWait(std::atomic<bool>& stop);
    ~CancellableWait();
    CancellableWait(const CancellableWait&) = delete;
    CancellableWait& operator=(const CancellableWait&) = delete;
};

// Whether work that can be stopped shows its wait window now.
bool cancellableWorkShown();
// Asks that work to stop (the cancel button, Esc, the main window's close).
void requestCancel();
// Whether that work was asked to stop.
bool cancelRequested();

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
