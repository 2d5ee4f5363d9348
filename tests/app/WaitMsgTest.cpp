#include "WaitMsg.h"

#include "SearchAnimation.h"

#include "ui/QtPrompts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPaintEvent>
#include <QProgressBar>
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

TEST(SearchAnimation, ForcedRepaintsInQuickSuccessionDoNotRaceTheAnimation) {
    SearchAnimation animation;
    animation.advanceIfDue();
    EXPECT_EQ(animation.frame(), 1);
    animation.advanceIfDue();  // right after a frame: not due yet
    EXPECT_EQ(animation.frame(), 1);
}
