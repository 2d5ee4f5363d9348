#include "WaitMsg.h"

#include "SearchAnimation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace velloran::app {

namespace {

QPointer<TMsgFrm> waitWindow;

QWidget* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmMain")) return widget;
    return nullptr;
}

TMsgFrm* createWaitWindow() {
    waitWindow = new TMsgFrm(mainWindow());
    waitWindow->Ani->start();
    return waitWindow;
}

// Runs the window system's events, never the user's, until a window just
// shown is on screen. The window system maps and exposes a window only
// through events; without them a window shown before long work stays
// invisible until the work ends.
class ExposureWait : public QObject {
public:
    // A window system that never shows the window does not hold the
    // program up longer than this.
    static constexpr int kLimitMs = 2000;

    explicit ExposureWait(QWindow* window) : window_(window) { window_->installEventFilter(this); }

    void run() {
        if (window_->isExposed()) return;
        QTimer::singleShot(kLimitMs, &loop_, &QEventLoop::quit);
        loop_.exec(QEventLoop::ExcludeUserInputEvents);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Expose && window_->isExposed()) loop_.quit();
        return false;
    }

private:
    QWindow* window_;
    QEventLoop loop_;
};

void showCentred(TMsgFrm* window) {
    if (const QWidget* owner = mainWindow(); owner && owner->isVisible())
        window->move(owner->frameGeometry().center() - window->rect().center());
    window->show();
    ExposureWait(window->windowHandle()).run();
    // Windows uncovered a moment ago (a dialog just closed) are drawn again
    // too, rather than staying frozen on screen during the work.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    window->repaintNow();
}

}  // namespace

TMsgFrm::TMsgFrm(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      MsgPanel(new QFrame(this)),
      LblMsg(new QLabel(kDesignText, MsgPanel)),
      ProgressBar(new QProgressBar(MsgPanel)),
      Ani(new SearchAnimation(MsgPanel)) {
    setObjectName(QStringLiteral("MsgFrm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(393, 54);

    MsgPanel->setObjectName(QStringLiteral("MsgPanel"));
    MsgPanel->setGeometry(0, 0, 393, 54);
    MsgPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    MsgPanel->setLineWidth(2);
    MsgPanel->setAutoFillBackground(true);
    QPalette palette = MsgPanel->palette();
    palette.setColor(QPalette::Window, QColor(231, 230, 216));
    palette.setColor(QPalette::WindowText, Qt::black);
    MsgPanel->setPalette(palette);
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPixelSize(12);
    MsgPanel->setFont(font);

    LblMsg->setObjectName(QStringLiteral("LblMsg"));
    LblMsg->setGeometry(22, 6, 299, 12);
    ProgressBar->setObjectName(QStringLiteral("ProgressBar"));
    ProgressBar->setGeometry(28, 26, 301, 16);
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    Ani->setObjectName(QStringLiteral("Ani"));
    Ani->setGeometry(335, 4, 50, 42);
}

TMsgFrm::~TMsgFrm() {
    if (waitWindow == this) waitWindow = nullptr;
}

void TMsgFrm::repaintNow() {
    // An export updates the window for every document and lets events run
    // every few milliseconds: painting each change, now or at the next
    // round of events, would cost more than the export itself. The changes
    // wait for the next paint that is due.
    constexpr qint64 kMinimumMilliseconds = 40;
    if (eventsRun_ && sincePaint_.isValid() && sincePaint_.elapsed() < kMinimumMilliseconds) return;
    if (pendingMessage_) LblMsg->setText(*std::exchange(pendingMessage_, std::nullopt));
    if (pendingProgress_) {
        const auto [maximum, position] = *std::exchange(pendingProgress_, std::nullopt);
        ProgressBar->setRange(0, maximum);
        ProgressBar->setValue(position);
    }
    Ani->advanceIfDue();
    MsgPanel->repaint();
    sincePaint_.restart();
}

void TMsgFrm::closeEvent(QCloseEvent* event) {
    // However the window closes, the module no longer holds it.
    if (waitWindow == this) waitWindow = nullptr;
    QWidget::closeEvent(event);
}

TMsgFrm* currentWaitWindow() { return waitWindow; }

void ShowWait() {
    if (waitWindow) return;
    showCentred(createWaitWindow());
}

void ShowWaitMsg(const QString& text) {
    if (waitWindow) return;
    TMsgFrm* window = createWaitWindow();
    window->ProgressBar->hide();
    window->LblMsg->move(window->LblMsg->x(), 20);
    window->LblMsg->setText(text);
    showCentred(window);
}

void TMsgFrm::showMessage(const QString& text) {
    pendingMessage_ = text;
    repaintNow();
}

void TMsgFrm::showProgress(int maximum, int position) {
    pendingProgress_ = {maximum, position};
    repaintNow();
}

void SetWaitMsg(const QString& text) {
    if (!waitWindow) return;
    waitWindow->showMessage(text);
}

void SetWaitProgress(int maximum, int position) {
    if (!waitWindow) return;
    waitWindow->showProgress(maximum, position);
}

void CloseWait() {
    if (!waitWindow) return;
    TMsgFrm* window = waitWindow;
    waitWindow = nullptr;
    window->close();
}

// Pending paint and timer events run, so the window stays drawn; the user's
// clicks and keys wait, so no other command can start in the middle of the
// export.
void WaitMsgIndicator::ProcessMessages() {
    if (waitWindow) waitWindow->eventsRunDuringWork();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace velloran::app
