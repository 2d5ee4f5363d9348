#pragma once
// The wait window: a small borderless window above the main window with a
// message, an optional progress bar and a looping search animation, shown
// while long work runs on the user-interface thread. There is at most one,
// held in one module-wide reference; the five free functions drive it and
// each is safe to call whether or not it is shown.
#include "ui/WaitIndicator.h"

#include <QElapsedTimer>
#include <QWidget>

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

    // Paints the panel now, without waiting for the event loop; updates
    // closer together than the eye can follow are left to the event loop.
    void repaintNow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QElapsedTimer sincePaint_;
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
