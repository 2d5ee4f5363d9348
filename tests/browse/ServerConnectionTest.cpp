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

TEST_F(ServerConnectionTest, ThePasswordIsMaskedAndOnlyThePasswordIs) {
    browse::Tfrmselserver form(window(), prompts_);
    EXPECT_EQ(form.Edit3->echoMode(), QLineEdit::Password);
    EXPECT_EQ(form.Edit1->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(form.Edit2->echoMode(), QLineEdit::Normal);
}

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
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(QStringLiteral("连接服务器失败!\n")));
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

TEST_F(ServerConnectionTest, AFailedLoginSaysWhyInChinese) {
    const struct {
        const char* server;
        const char* user;
        const char* password;
        QString reason;
    } cases[] = {
        {"TestServer/Velloran", "Tester/Velloran", "wrong", QStringLiteral("用户名或密码不正确")},
        {"TestServer/Velloran", "Nobody/Velloran", "秘密 pw", QStringLiteral("用户名或密码不正确")},
        {"Elsewhere", "Tester/Velloran", "秘密 pw",
         QStringLiteral("服务器“Elsewhere”未知，本机的服务器是“TestServer/Velloran”")},
    };
    for (const auto& login : cases) {
        prompts_.clear();
        typeAndConfirm(QString::fromUtf8(login.server), QString::fromUtf8(login.user), QString::fromUtf8(login.password));
        window().openserver->trigger();
        ASSERT_EQ(prompts_.messages().size(), 1u) << login.user;
        EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("连接服务器失败!\n") + login.reason);
        EXPECT_EQ(window().TreeView1->topLevelItemCount(), 0);
    }
}

TEST_F(ServerConnectionTest, AUserTheServerDoesNotLetInIsToldSo) {
    installation_.buildDatabase("names.nsf", {{"acl", {{{"name", "-Default-"}, {"level", "noaccess"}}}}});
    typeAndConfirm(QStringLiteral("TestServer/Velloran"), QStringLiteral("Tester/Velloran"), QStringLiteral("秘密 pw"));
    window().openserver->trigger();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].text,
              QStringLiteral("连接服务器失败!\n用户“Tester/Velloran”无权打开服务器“TestServer/Velloran”上的数据库“names.nsf”"));
    EXPECT_FALSE(std::filesystem::exists(settingsFile()));
}

TEST_F(ServerConnectionTest, AMissingDataFolderIsNamed) {
    const std::string data = installation_.dataFolder();
    std::filesystem::rename(data, data + "-moved");
    typeAndConfirm(QStringLiteral("TestServer/Velloran"), QStringLiteral("Tester/Velloran"), QStringLiteral("秘密 pw"));
    window().openserver->trigger();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_EQ(prompts_.messages()[0].text,
              QStringLiteral("连接服务器失败!\n数据目录不存在: ") + QString::fromStdString(data));
}

TEST_F(ServerConnectionTest, CancellingChangesNothing) {
    const std::string file = installation_.generateDatabase("g.nsf", 3);
    prompts_.answerOpenFile(QString::fromStdString(file));
    window().openfile->trigger();
    answerDialog([](QDialog& dialog) { dialog.reject(); });  // the frame's close
    window().openserver->trigger();
    EXPECT_EQ(window().TreeMode, 2);
    EXPECT_EQ(window().TreeView1->topLevelItem(0)->toolTip(0).toStdString(), file);
    click({QStringLiteral("All")});
    ASSERT_TRUE(prompts_.messages().empty()) << prompts_.messages()[0].text.toStdString();
    EXPECT_EQ(window().ListView1->itemCount(), 3);
}

TEST_F(ServerConnectionTest, AMissingDataFolderScansToNothing) {
    auto* root = window().databaseTree().addNode(nullptr, QStringLiteral("S(/no/such(找不到该目录))"), browse::kServerIcon);
    window().databaseTree().ScanFolder(QStringLiteral("/no/such(找不到该目录)"), root);
    EXPECT_EQ(root->childCount(), 0);
}
