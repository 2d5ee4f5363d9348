#include "BrowseFixture.h"

#include "DatabaseTree.h"
#include "ListView.h"
#include "ServerDialog.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>

#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace velloran;
using velloran::testing::BrowseFixture;

namespace {

nlohmann::json salesDatabase() {
    const nlohmann::json column = {{"title", "Subject"}, {"formula", "Subject"}};
    nlohmann::json views = nlohmann::json::array();
    for (const char* name : {"  By Customer ", "($All)", "Costs$Hidden", "订单"})
        views.push_back({{"name", name}, {"columns", {column}}});
    return {{"views", views}, {"documents", {{{"items", {{{"name", "Subject"}, {"value", "x"}}}}}}}};
}

class DatabaseTreeTest : public BrowseFixture {
protected:
    void connect() {
        installation_.addPerson("Tester/Velloran", "pw");
        answerDialog([](QDialog& dialog) {
            auto& form = static_cast<browse::Tfrmselserver&>(dialog);
            form.Edit2->setText(QStringLiteral("Tester/Velloran"));
            form.Edit3->setText(QStringLiteral("pw"));
            form.Button1Click();
        });
        window().ServerName = QString::fromLatin1(velloran::testing::TestInstallation::kServerName);
        window().openserver->trigger();
    }
};

}  // namespace

TEST_F(DatabaseTreeTest, AStandaloneFileShowsItsVisibleViewsTrimmed) {
    const std::string file = installation_.buildDatabase("sales.nsf", salesDatabase());
    prompts_.answerOpenFile(QString::fromStdString(file));
    window().openfile->trigger();
    EXPECT_EQ(window().TreeMode, 2);
    EXPECT_EQ(window().DatabasePath.toStdString(), file);
    EXPECT_EQ(window().TreeView1->topLevelItem(0)->text(0), QStringLiteral("sales.nsf"));
    EXPECT_EQ(window().TreeView1->topLevelItem(0)->toolTip(0).toStdString(), file);
    EXPECT_EQ(window().windowTitle(), QStringLiteral("VelloranV3.4 - sales.nsf"));
    EXPECT_FALSE(window().TreeView1->topLevelItem(0)->isExpanded());
    EXPECT_EQ(children({}), (QStringList{QStringLiteral("By Customer"), QStringLiteral("订单")}));
    EXPECT_EQ(window().ListView1->itemCount(), 0);

    click({QStringLiteral("By Customer")});
    EXPECT_EQ(window().CurrentViewName, QStringLiteral("By Customer"));
    EXPECT_EQ(window().ListView1->itemCount(), 1);
    clickNode(window().TreeView1->topLevelItem(0));
    EXPECT_EQ(window().ViewDocumentCount, 0) << "any click stops the paging";
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DatabaseTreeTest, ALockedFileIsNotOpened) {
    const std::string file = installation_.buildDatabase("sales.nsf", salesDatabase());
    const int fd = ::open(file.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    prompts_.answerOpenFile(QString::fromStdString(file));
    window().openfile->trigger();
    ::close(fd);
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].text,
              QStringLiteral("文件") + QString::fromStdString(file) + QStringLiteral("正在被其它程序锁定，无法打开!"));
    EXPECT_EQ(window().TreeView1->topLevelItemCount(), 0);
    EXPECT_EQ(window().TreeMode, 0);
}

TEST_F(DatabaseTreeTest, AFileThatIsNotThereGoesToTheErrorReport) {
    prompts_.answerOpenFile(QString::fromStdString(installation_.file("missing.nsf")));
    window().openfile->trigger();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].icon, platform::MessageIcon::Error);
    EXPECT_EQ(window().TreeMode, 0);
}

TEST_F(DatabaseTreeTest, TheServerTreeListsFoldersAndDatabasesAndOpensViews) {
    installation_.buildDatabase("apps/sales.nsf", salesDatabase());
    installation_.buildDatabase("abcnsf", salesDatabase());
    std::filesystem::create_directories(installation_.dataFolder() + "/empty");
    std::ofstream(installation_.dataFolder() + "/readme.txt") << "not a database";
    std::ofstream(installation_.dataFolder() + "/.hidden.nsf") << "hidden";
    connect();
    ASSERT_TRUE(prompts_.messages().empty()) << prompts_.messages()[0].text.toStdString();
    EXPECT_EQ(window().TreeMode, 1);
    EXPECT_EQ(window().TreeView1->topLevelItem(0)->text(0),
              QStringLiteral("TestServer/Velloran(") + QString::fromStdString(installation_.dataFolder()) + ")");
    EXPECT_EQ(children({}), (QStringList{"abcnsf", "apps", "empty", "names.nsf"}));
    EXPECT_EQ(window().databaseTree().scanRepaints(), 1);

    click({"apps", "sales.nsf"});
    EXPECT_EQ(window().DatabasePath, QStringLiteral("apps\\sales.nsf"));
    EXPECT_EQ(children({"apps", "sales.nsf"}), (QStringList{QStringLiteral("  By Customer "), QStringLiteral("订单")}));
    EXPECT_EQ(window().ListView1->style(), browse::ListView::Style::Icon);
    EXPECT_EQ(window().ListView1->itemCount(), 2);
    EXPECT_EQ(browse::DatabaseTree::GetNodePath(node({"apps", "sales.nsf"})), QStringLiteral("apps\\sales.nsf\\"));

    click({"apps", "sales.nsf", QStringLiteral("订单")});
    EXPECT_EQ(window().DatabasePath, QStringLiteral("apps\\sales.nsf"));
    EXPECT_EQ(window().ViewDocumentCount, 1);
    EXPECT_EQ(window().ListView1->style(), browse::ListView::Style::Report);

    for (const QStringList& path : {QStringList{"empty"}, QStringList{"abcnsf"}, QStringList{"apps"}}) {
        window().ViewDocumentCount = 1;
        click(path);
        EXPECT_EQ(window().ViewDocumentCount, 0);
    }
    EXPECT_TRUE(children({"abcnsf"}).isEmpty()) << "a name without the dot is listed but not opened";
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(DatabaseTreeTest, AServerDatabaseThatCannotBeOpenedIsReported) {
    installation_.buildDatabase("sales.nsf", salesDatabase());
    connect();
    std::filesystem::remove(installation_.dataFolder() + "/sales.nsf");
    click({"sales.nsf"});
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(QStringLiteral("访问数据库出错：")));
    EXPECT_TRUE(children({"sales.nsf"}).isEmpty());
}

TEST_F(DatabaseTreeTest, WhatReplacesTheTreeLeavesNoViewBehind) {
    const std::string sales = installation_.buildDatabase("sales.nsf", salesDatabase());
    const std::string other = installation_.buildDatabase("apps/客户管理.nsf", salesDatabase());
    const struct {
        const char* what;
        std::function<void()> replace;
        QString title;
    } cases[] = {
        {"another file",
         [&] {
             prompts_.answerOpenFile(QString::fromStdString(other));
             window().openfile->trigger();
         },
         QStringLiteral("VelloranV3.4 - 客户管理.nsf")},
        {"a file that is no database",
         [&] {
             std::ofstream(installation_.file("notes.txt")) << "plain text";
             prompts_.answerOpenFile(QString::fromStdString(installation_.file("notes.txt")));
             window().openfile->trigger();
             EXPECT_EQ(prompts_.messages().size(), 1u) << "the failure is reported";
             EXPECT_EQ(window().TreeView1->topLevelItemCount(), 0) << "the old file's views are gone with its session";
         },
         QStringLiteral("VelloranV3.4")},
        {"a server", [&] { connect(); }, QStringLiteral("VelloranV3.4 - TestServer/Velloran")},
        {"a failed login",
         [&] {
             answerDialog([](QDialog& dialog) {
                 auto& form = static_cast<browse::Tfrmselserver&>(dialog);
                 form.Edit2->setText(QStringLiteral("Nobody/Velloran"));
                 form.Button1Click();
             });
             window().openserver->trigger();
         },
         QStringLiteral("VelloranV3.4")},
    };
    for (const auto& each : cases) {
        prompts_.answerOpenFile(QString::fromStdString(sales));
        window().openfile->trigger();
        click({QStringLiteral("订单")});
        ASSERT_EQ(window().ListView1->itemCount(), 1) << each.what;
        each.replace();
        EXPECT_EQ(window().ListView1->itemCount(), 0) << each.what;
        EXPECT_EQ(window().ListView1->columnCount(), 0) << each.what;
        EXPECT_TRUE(window().statusPanelText(1).isEmpty()) << each.what;
        EXPECT_TRUE(window().CurrentViewName.isEmpty()) << each.what;
        EXPECT_EQ(window().ViewDocumentCount, 0) << each.what;
        EXPECT_FALSE(window().ToolButton7->isEnabled()) << each.what << ": no page to reload";
        EXPECT_EQ(window().windowTitle(), each.title) << each.what;

        prompts_.clear();
        window().exportAction->trigger();
        ASSERT_EQ(prompts_.calls().size(), 1u) << each.what << ": no dialog before the refusal";
        EXPECT_EQ(prompts_.calls()[0].text, QStringLiteral("当前没有可导出的内容")) << each.what;
        prompts_.clear();
    }
}

TEST_F(DatabaseTreeTest, TheOpenDialogStartsInTheDataFolderThenWhereTheLastFileWas) {
    const std::string file = installation_.buildDatabase("elsewhere/sales.nsf", salesDatabase());
    window().openfile->trigger();  // cancelled
    prompts_.answerOpenFile(QString::fromStdString(file));
    window().openfile->trigger();
    window().openfile->trigger();
    ASSERT_EQ(prompts_.calls().size(), 3u);
    EXPECT_EQ(prompts_.calls()[0].filter, QStringLiteral("NSF文件|*.nsf|所有文件|*"));
    EXPECT_EQ(prompts_.calls()[0].folder.toStdString(), installation_.dataFolder());
    EXPECT_EQ(prompts_.calls()[1].folder.toStdString(), installation_.dataFolder());
    EXPECT_EQ(prompts_.calls()[2].folder.toStdString(), installation_.dataFolder() + "/elsewhere");
}

TEST_F(DatabaseTreeTest, TheServerRootStaysFoldedAfterConnecting) {
    installation_.buildDatabase("sales.nsf", salesDatabase());
    connect();
    ASSERT_EQ(window().TreeView1->topLevelItemCount(), 1);
    EXPECT_FALSE(window().TreeView1->topLevelItem(0)->isExpanded());
}

TEST_F(DatabaseTreeTest, ADoubleClickOnAViewIconOpensTheView) {
    installation_.buildDatabase("sales.nsf", salesDatabase());
    connect();
    click({"sales.nsf"});
    EXPECT_EQ(window().windowTitle(), QStringLiteral("VelloranV3.4 - sales.nsf"));
    ASSERT_EQ(window().ListView1->style(), browse::ListView::Style::Icon);
    window().ListView1->selectItem(1);
    emit window().ListView1->itemDoubleClicked();
    EXPECT_EQ(window().CurrentViewName, QStringLiteral("订单"));
    EXPECT_EQ(window().ListView1->style(), browse::ListView::Style::Report);
    EXPECT_EQ(window().ListView1->itemCount(), 1);
    EXPECT_EQ(window().TreeView1->currentItem(), node({"sales.nsf", QStringLiteral("订单")}));
}

TEST_F(DatabaseTreeTest, EnterOrSpaceOnAViewNodeOpensIt) {
    const std::string file = installation_.buildDatabase("sales.nsf", salesDatabase());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        prompts_.answerOpenFile(QString::fromStdString(file));
        window().openfile->trigger();
        window().TreeView1->setCurrentItem(node({QStringLiteral("订单")}));
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(window().TreeView1, &press);
        EXPECT_EQ(window().CurrentViewName, QStringLiteral("订单")) << key;
        EXPECT_EQ(window().ListView1->itemCount(), 1) << key;
    }
}

TEST(DatabaseTreePaths, NodePathsJoinTheNamesBelowTheRoot) {
    QTreeWidgetItem root(QStringList{"Server(/data)"});
    auto* folder = new QTreeWidgetItem(&root, QStringList{"apps"});
    auto* database = new QTreeWidgetItem(folder, QStringList{"sales.nsf"});
    EXPECT_EQ(browse::DatabaseTree::GetNodePath(&root), QString());
    EXPECT_EQ(browse::DatabaseTree::GetNodePath(database), QStringLiteral("apps\\sales.nsf"));
    new QTreeWidgetItem(database, QStringList{"View"});
    EXPECT_EQ(browse::DatabaseTree::GetNodePath(database), QStringLiteral("apps\\sales.nsf\\"));
}

TEST(DatabaseTreePaths, ViewNamesWithADollarOrBlankAreHidden) {
    EXPECT_TRUE(browse::DatabaseTree::isShownViewName(QStringLiteral(" 订单 ")));
    EXPECT_FALSE(browse::DatabaseTree::isShownViewName(QStringLiteral("($All)")));
    EXPECT_FALSE(browse::DatabaseTree::isShownViewName(QStringLiteral("a$b")));
    EXPECT_FALSE(browse::DatabaseTree::isShownViewName(QStringLiteral(" \t ")));
}
