#include "BrowseFixture.h"

#include "DatabaseTree.h"
#include "ListView.h"
#include "ServerDialog.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTreeWidget>

using namespace velloran;
using velloran::testing::BrowseFixture;

namespace {

class ServerConnectionTest : public BrowseFixture {
protected:
    void SetUp() override { installation_.addPerson("Tester/Velloran", "秘密 pw"); }

    // Types into the dialog and presses "确  定"; the dialog stays open when
    // the input is refused, so the answer may press more than once.
    void typeAndConfirm(const QString& server, const QString& user, const QString& password) {
        answerDialog([=](QDialog& dialog) {
            auto& form = static_cast<browse::Tfrmselserver&>(dialog);
            form.Edit1->setText(server);
            form.Edit2->setText(user);
            form.Edit3->setText(password);
            form.Button1Click();
        });
    }
    std::string settingsFile() const { return installation_.file("exe/system.ini"); }
};

}  // namespace

TEST_F(ServerConnectionTest, TheDialogChecksTheServerFirstThenTheUser) {
    browse::Tfrmselserver form(window(), prompts_);
    form.Edit1->setText(QStringLiteral("   "));
    form.Edit2->setText(QString());
    form.Button1Click();
    form.Edit1->setText(QStringLiteral("S"));
    form.Button1Click();
    ASSERT_EQ(prompts_.messages().size(), 2u);
    EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("服务器名不能为空"));
    EXPECT_EQ(prompts_.messages()[1].text, QStringLiteral("登录用名不能为空"));
    EXPECT_TRUE(form.Cancelled);
    EXPECT_NE(window().ServerName, QStringLiteral("S"));
}

TEST_F(ServerConnectionTest, LoginSavesTheTrimmedValuesAndShowsTheDataFolder) {
    typeAndConfirm(QStringLiteral(" TestServer/Velloran\t"), QStringLiteral(" Tester/Velloran "),
                   QStringLiteral(" 秘密 pw "));
    window().openserver->trigger();
    ASSERT_TRUE(prompts_.messages().empty()) << prompts_.messages()[0].text.toStdString();
    EXPECT_EQ(window().ServerName, QStringLiteral("TestServer/Velloran"));
    EXPECT_EQ(window().Password, QStringLiteral("秘密 pw"));
    EXPECT_EQ(window().TreeView1->topLevelItem(0)->text(0),
              QStringLiteral("TestServer/Velloran(") + QString::fromStdString(installation_.dataFolder()) + ")");
    EXPECT_NE(velloran::testing::TempDir::read(settingsFile()).find("username=Tester/Velloran"), std::string::npos);
}

TEST_F(ServerConnectionTest, AFailedLoginKeepsTheTypedValuesButSavesNothing) {
    typeAndConfirm(QStringLiteral("TestServer/Velloran"), QStringLiteral("Tester/Velloran"), QStringLiteral("wrong"));
    window().openserver->trigger();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("连接服务器失败!"));
    EXPECT_EQ(window().TreeView1->topLevelItemCount(), 0);
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));

    QString shownPassword;
    answerDialog([&](QDialog& dialog) {
        shownPassword = static_cast<browse::Tfrmselserver&>(dialog).Edit3->text();
        static_cast<browse::Tfrmselserver&>(dialog).Button2Click();
    });
    window().openserver->trigger();
    EXPECT_EQ(shownPassword, QStringLiteral("wrong"));
}

TEST_F(ServerConnectionTest, CancellingChangesOnlyTheTreeMode) {
    const std::string file = installation_.generateDatabase("g.nsf", 3);
    prompts_.answerOpenFile(QString::fromStdString(file));
    window().openfile->trigger();
    answerDialog([](QDialog& dialog) { dialog.reject(); });  // the frame's close
    window().openserver->trigger();
    EXPECT_EQ(window().TreeMode, 1);
    EXPECT_EQ(window().TreeView1->topLevelItem(0)->text(0).toStdString(), file);
    EXPECT_TRUE(prompts_.messages().empty());
}

TEST_F(ServerConnectionTest, AMissingDataFolderScansToNothing) {
    auto* root = window().databaseTree().addNode(nullptr, QStringLiteral("S(/no/such(找不到该目录))"), browse::kServerIcon);
    window().databaseTree().ScanFolder(QStringLiteral("/no/such(找不到该目录)"), root);
    EXPECT_EQ(root->childCount(), 0);
}
