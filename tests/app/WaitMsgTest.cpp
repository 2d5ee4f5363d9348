#include "WaitMsg.h"

#include "SearchAnimation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

using namespace velloran::app;

namespace {

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

TEST(SearchAnimation, ForcedRepaintsInQuickSuccessionDoNotRaceTheAnimation) {
    SearchAnimation animation;
    animation.advanceIfDue();
    EXPECT_EQ(animation.frame(), 1);
    animation.advanceIfDue();  // right after a frame: not due yet
    EXPECT_EQ(animation.frame(), 1);
}
