#include "WaitMsg.h"

#include "SearchAnimation.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include <utility>

namespace velloran::app {

namespace {

QPointer<TMsgFrm> waitWindow;
// The stop flag of the work that can be stopped, while it runs.
std::atomic<bool>* cancelFlag = nullptr;

QWidget* mainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("frmMain")) return widget;
    return nullptr;
}

TMsgFrm* createWaitWindow() {
    QWidget* owner = mainWindow();
    waitWindow = new TMsgFrm(owner);
    if (owner) owner->setCursor(Qt::WaitCursor);
    if (cancelFlag) waitWindow->offerCancel();
    waitWindow->Ani->start();
    return waitWindow;
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease: return true;
    default: return false;
    }
}

// Keeps the user's clicks and keys away from the main window while work
// that can be stopped lets events run: no other command starts in the
// middle of it. Esc there presses the cancel button. Message boxes and the
// wait window itself get their input.
class MainWindowInputHold : public QObject {
public:
    MainWindowInputHold(QWidget* mainWindow, QObject* parent) : QObject(parent), main_(mainWindow) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type()) || !inMainWindow(watched)) return false;
        // Taken as overridden, so that no shortcut of the main window fires;
        // the key itself then comes here as a key press.
        if (event->type() == QEvent::ShortcutOverride) event->accept();
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            requestCancel();
        return true;
    }

private:
    bool inMainWindow(QObject* watched) const {
        if (!main_) return false;
        if (const auto* widget = qobject_cast<QWidget*>(watched)) return widget->window() == main_;
        if (const auto* window = qobject_cast<QWindow*>(watched)) return window == main_->windowHandle();
        return false;
    }

    QPointer<QWidget> main_;
};

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
      Ani(new SearchAnimation(MsgPanel)),
      BtnCancel(new QPushButton(kCancelCaption, MsgPanel)) {
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
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    BtnCancel->setGeometry(141, 50, 75, 24);
    BtnCancel->setFocusPolicy(Qt::NoFocus);
    BtnCancel->hide();
    connect(BtnCancel, &QPushButton::clicked, this, [] { requestCancel(); });
}

void TMsgFrm::offerCancel() {
    setFixedSize(393, 82);
    MsgPanel->setGeometry(0, 0, 393, 82);
    BtnCancel->show();
    new MainWindowInputHold(parentWidget(), this);
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
    if (pendingMessage_)
        LblMsg->setText(fittedWaitText(*std::exchange(pendingMessage_, std::nullopt), LblMsg->fontMetrics(),
                                       LblMsg->width()));
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
    if (QWidget* owner = parentWidget()) owner->unsetCursor();
    QWidget::closeEvent(event);
}

TMsgFrm* currentWaitWindow() { return waitWindow; }

QString fittedWaitText(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) return text;
    qsizetype counterStart = text.size();
    while (counterStart > 0 && (text[counterStart - 1].isDigit() || text[counterStart - 1] == QLatin1Char('/')))
        --counterStart;
    const QString counter = text.mid(counterStart);
    return metrics.elidedText(text.left(counterStart), Qt::ElideMiddle, width - metrics.horizontalAdvance(counter)) +
           counter;
}

CancellableWait::CancellableWait(std::atomic<bool>& stop) { cancelFlag = &stop; }

CancellableWait::~CancellableWait() { cancelFlag = nullptr; }

bool cancellableWorkShown() { return cancelFlag && waitWindow && !waitWindow->BtnCancel->isHidden(); }

void requestCancel() {
    if (!cancelFlag) return;
    cancelFlag->store(true, std::memory_order_relaxed);
    if (waitWindow) waitWindow->BtnCancel->setEnabled(false);
}

bool cancelRequested() { return cancelFlag && cancelFlag->load(std::memory_order_relaxed); }

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

// Pending paint and timer events run, so the window stays drawn. The user's
// clicks and keys wait, so no other command can start in the middle of the
// work; work that can be stopped takes them, to reach its cancel button,
// and its wait window keeps them away from the main window.
void WaitMsgIndicator::ProcessMessages() {
    if (waitWindow) waitWindow->eventsRunDuringWork();
    QApplication::processEvents(cancellableWorkShown() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
}

}  // namespace velloran::app
