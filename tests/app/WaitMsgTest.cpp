#include "WaitMsg.h"

#include "SearchAnimation.h"

#include "ui/QtPrompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

using namespace velloran::app;

namespace {

// What the wait window's message and progress bar showed each time they
// were painted; a change counts as painted once it appears here.
class PaintLog : public QObject {
public:
    PaintLog() { qApp->installEventFilter(this); }
    QStringList texts;
    QList<int> positions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) return false;
        if (auto* label = qobject_cast<QLabel*>(watched); label && label->objectName() == QLatin1String("LblMsg"))
            texts << label->text();
        if (auto* bar = qobject_cast<QProgressBar*>(watched); bar && bar->objectName() == QLatin1String("ProgressBar"))
            positions << bar->value();
        return false;
    }
};

// A click, as the window system delivers it, at the middle of `widget`.
void postClick(QWidget* widget) {
    const QPointF middle = QRectF(widget->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(widget, new QMouseEvent(type, middle, widget->mapToGlobal(middle), Qt::LeftButton,
                                                            type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                             : Qt::NoButton,
                                                            Qt::NoModifier));
}

class MainWindowStandIn : public QWidget {
public:
    MainWindowStandIn() {
        setObjectName(QStringLiteral("frmMain"));
        QObject::connect(&command, &QPushButton::clicked, [this] { ++commands; });
    }
    QPushButton command{QStringLiteral("导出数据"), this};
    int commands = 0;
};

class WaitMsgTest : public ::testing::Test {
protected:
    void TearDown() override {
        CloseWait();
        QApplication::processEvents();
    }
};

}  // namespace

TEST_F(WaitMsgTest, OperationsWithoutAWindowDoNothing) {
    SetWaitMsg(QStringLiteral("x"));
    SetWaitProgress(100, 10);
    CloseWait();
    EXPECT_EQ(currentWaitWindow(), nullptr);
}

TEST_F(WaitMsgTest, ShowWaitHasTheBarAndTheDesignText) {
    ShowWait();
    TMsgFrm* window = currentWaitWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(393, 54));
    EXPECT_EQ(window->LblMsg->text(), QStringLiteral("正在导入数据，请稍候..."));
    EXPECT_EQ(window->LblMsg->y(), 6);
    EXPECT_TRUE(window->ProgressBar->isVisible());
    SetWaitProgress(0, 0);  // an empty view
    EXPECT_EQ(window->ProgressBar->maximum(), 0);
    SetWaitProgress(250, 101);
    EXPECT_EQ(window->ProgressBar->maximum(), 250);
    EXPECT_EQ(window->ProgressBar->value(), 101);
}

TEST_F(WaitMsgTest, ASecondShowKeepsTheFirstWindowAsItIs) {
    ShowWait();
    TMsgFrm* first = currentWaitWindow();
    ShowWaitMsg(QStringLiteral("正在连接Domino服务器"));
    EXPECT_EQ(currentWaitWindow(), first);
    EXPECT_EQ(first->LblMsg->text(), QStringLiteral("正在导入数据，请稍候..."));
    EXPECT_TRUE(first->ProgressBar->isVisible());
}

TEST_F(WaitMsgTest, ShowWaitMsgCentresOneLineWithoutABar) {
    ShowWaitMsg(QStringLiteral("正在连接Domino服务器"));
    TMsgFrm* window = currentWaitWindow();
    EXPECT_EQ(window->LblMsg->text(), QStringLiteral("正在连接Domino服务器"));
    EXPECT_EQ(window->LblMsg->y(), 20);
    EXPECT_FALSE(window->ProgressBar->isVisible());
    SetWaitProgress(100, 10);
    EXPECT_FALSE(window->ProgressBar->isVisible());
    SetWaitMsg(QStringLiteral("第二行"));
    EXPECT_EQ(window->LblMsg->text(), QStringLiteral("第二行"));
}

TEST_F(WaitMsgTest, CloseThenShowMakesAFreshWindow) {
    ShowWait();
    SetWaitMsg(QStringLiteral("changed"));
    SetWaitProgress(10, 7);
    CloseWait();
    EXPECT_EQ(currentWaitWindow(), nullptr);
    ShowWait();
    EXPECT_EQ(currentWaitWindow()->LblMsg->text(), TMsgFrm::kDesignText);
    EXPECT_EQ(currentWaitWindow()->ProgressBar->value(), 0);
}

TEST_F(WaitMsgTest, AWindowClosedAnyOtherWayIsForgotten) {
    ShowWait();
    currentWaitWindow()->close();
    EXPECT_EQ(currentWaitWindow(), nullptr);
    QApplication::processEvents();
    ShowWait();
    EXPECT_NE(currentWaitWindow(), nullptr);
}

TEST_F(WaitMsgTest, TheWindowIsOnScreenAndPaintedWhenShowReturns) {
    // Long work follows at once and holds the event loop: nothing left to the
    // loop would reach the screen before the work ends.
    PaintLog painted;
    ShowWaitMsg(QStringLiteral("正在连接Domino服务器"));
    TMsgFrm* window = currentWaitWindow();
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_TRUE(window->windowHandle()->isExposed());
    EXPECT_TRUE(painted.texts.contains(QStringLiteral("正在连接Domino服务器")));
    CloseWait();

    QApplication::processEvents();
    ShowWait();
    EXPECT_TRUE(currentWaitWindow()->windowHandle()->isExposed());
    EXPECT_TRUE(painted.positions.contains(0));
}

TEST_F(WaitMsgTest, EveryChangeOfTextOrProgressIsPaintedAtOnce) {
    ShowWait();
    PaintLog painted;
    // In quick succession, as a page of documents is read without the event
    // loop running in between.
    for (int counter = 1; counter <= 3; ++counter) {
        SetWaitMsg(QStringLiteral("正在读取文档") + QString::number(counter));
        SetWaitProgress(3, counter);
    }
    EXPECT_TRUE(painted.texts.contains(QStringLiteral("正在读取文档3"))) << painted.texts.join(',').toStdString();
    EXPECT_TRUE(painted.positions.contains(3));
}

TEST_F(WaitMsgTest, AMessageShownWhileTheWindowIsUpIsNotCoveredByIt) {
    QWidget mainWindow;
    mainWindow.setObjectName(QStringLiteral("frmMain"));
    mainWindow.resize(600, 400);
    mainWindow.show();
    mainWindow.activateWindow();
    QApplication::processEvents();
    ShowWaitMsg(QStringLiteral("正在连接Domino服务器"));
    TMsgFrm* window = currentWaitWindow();
    // Above the main window as its own tool window, not above every window.
    EXPECT_EQ(window->parentWidget(), &mainWindow);
    EXPECT_FALSE(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    QWidget* boxParent = nullptr;
    QTimer::singleShot(0, [&boxParent] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        boxParent = box->parentWidget();
        box->accept();
    });
    velloran::platform::QtPrompts().message(QStringLiteral("登录失败"), QStringLiteral("Velloran"),
                                            velloran::platform::MessageIcon::None,
                                            velloran::platform::MessageButtons::Ok);
    EXPECT_EQ(boxParent, &mainWindow) << "the message belongs to the wait window";
    CloseWait();
}

TEST_F(WaitMsgTest, TheMainWindowShowsTheBusyCursorOnlyWhileTheWindowIsUp) {
    MainWindowStandIn mainWindow;
    for (const auto show : {+[] { ShowWait(); }, +[] { ShowWaitMsg(QStringLiteral("正在连接Domino服务器")); }}) {
        show();
        EXPECT_EQ(mainWindow.cursor().shape(), Qt::WaitCursor);
        CloseWait();
        EXPECT_EQ(mainWindow.cursor().shape(), Qt::ArrowCursor);
    }
}

TEST_F(WaitMsgTest, TheCounterAtTheEndOfTheTextAlwaysShowsWhole) {
    const QString longName = QStringLiteral("年度客户往来明细与附件清单_第三季度_华东华南华北区域汇总_最终版本_开始为第1个文档.xls");
    const struct {
        QString text;
        QString end;
    } cases[] = {
        {QStringLiteral("正在导出数据到a.xls...1/3"), QStringLiteral("正在导出数据到a.xls...1/3")},
        {QStringLiteral("正在导出数据到") + longName + QStringLiteral("...166098/300000"), QStringLiteral("166098/300000")},
        {QStringLiteral("正在导出数据到") + longName + QStringLiteral("..."), QStringLiteral("...")},
    };
    ShowWait();
    QLabel* label = currentWaitWindow()->LblMsg;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        SetWaitMsg(c.text);
        EXPECT_TRUE(label->text().endsWith(c.end)) << label->text().toStdString();
        EXPECT_TRUE(label->text().startsWith(QStringLiteral("正在导出"))) << label->text().toStdString();
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    }
}

TEST_F(WaitMsgTest, OnlyWorkThatCanBeStoppedGetsTheCancelButton) {
    MainWindowStandIn mainWindow;
    ShowWait();
    EXPECT_TRUE(currentWaitWindow()->BtnCancel->isHidden());
    EXPECT_FALSE(cancellableWorkShown());
    CloseWait();

    std::atomic<bool> stop{false};
    const CancellableWait cancellable(stop);
    ShowWait();
    TMsgFrm* window = currentWaitWindow();
    EXPECT_TRUE(window->BtnCancel->isVisible());
    EXPECT_EQ(window->BtnCancel->text(), QStringLiteral("取消"));
    EXPECT_TRUE(window->rect().contains(window->BtnCancel->geometry()));
    EXPECT_TRUE(cancellableWorkShown());
}

// The presses come while the work lets events run between two documents.
TEST_F(WaitMsgTest, TheCancelButtonOrEscStopsTheWorkAndTheMainWindowsClicksAreDropped) {
    const struct {
        const char* name;
        std::function<void(MainWindowStandIn&)> press;
    } cases[] = {
        {"the button", [](MainWindowStandIn&) { postClick(currentWaitWindow()->BtnCancel); }},
        {"Esc", [](MainWindowStandIn& main) {
             QCoreApplication::postEvent(&main, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindowStandIn mainWindow;
        mainWindow.resize(300, 200);
        mainWindow.show();
        std::atomic<bool> stop{false};
        const CancellableWait cancellable(stop);
        ShowWait();
        WaitMsgIndicator indicator;

        postClick(&mainWindow.command);
        indicator.ProcessMessages();
        EXPECT_EQ(mainWindow.commands, 0) << "no command starts during the work";
        EXPECT_FALSE(stop);

        c.press(mainWindow);
        indicator.ProcessMessages();
        EXPECT_TRUE(stop);
        EXPECT_FALSE(currentWaitWindow()->BtnCancel->isEnabled());
        CloseWait();
    }
}

TEST(SearchAnimation, ForcedRepaintsInQuickSuccessionDoNotRaceTheAnimation) {
    SearchAnimation animation;
    animation.advanceIfDue();
    EXPECT_EQ(animation.frame(), 1);
    animation.advanceIfDue();  // right after a frame: not due yet
    EXPECT_EQ(animation.frame(), 1);
}
