#include "Settings.h"

#include "ScriptedPrompts.h"
#include "TempDir.h"
#include "errors/Failure.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>

using namespace velloran::app;
using velloran::testing::ScriptedPrompts;
using velloran::testing::TempDir;

namespace {

QString folderOf(const TempDir& dir) { return QString::fromStdString(dir.path().string()) + "/"; }
QString hostName() { return QStringLiteral("PC-07"); }

mode_t permissionsOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 0777;
}

// The user's configuration folder is a temporary one for each test.
class UserSettings : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
        ::setenv("XDG_CONFIG_HOME", home_.path().c_str(), 1);
    }
    void TearDown() override {
        if (saved_) ::setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
    }
    std::string usersFile() const { return home_.file("velloran/system.ini"); }

    TempDir home_;
    TempDir exe_;
    std::optional<std::string> saved_;
};

}  // namespace

TEST(Settings, WithoutAFileTheServerIsThisHostAndNothingIsCreated) {
    TempDir dir;
    const LoginValues values = loadLoginValues(folderOf(dir), hostName);
    EXPECT_EQ(values.server, "PC-07");
    EXPECT_TRUE(values.user.isEmpty());
    EXPECT_TRUE(values.password.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(dir.file("system.ini")));
}

TEST(Settings, ABlankServerIsReplacedByThisHost) {
    TempDir dir;
    dir.write("system.ini", "[Domino]\r\nSERVER=   \r\nusername = \xD5\xC5\xC8\xFD \r\npwd=\"  secret \"\r\n");
    const LoginValues values = loadLoginValues(folderOf(dir), hostName);
    EXPECT_EQ(values.server, "PC-07");
    EXPECT_EQ(values.user, QStringLiteral("张三"));
    EXPECT_EQ(values.password, "  secret ");
}

TEST(Settings, SavedValuesReadBackAndTheFileIsTheOwnersAlone) {
    TempDir dir;
    saveLoginValues(folderOf(dir), {QStringLiteral("Mail01/Velloran"), QStringLiteral("李四"), QStringLiteral("密码abc")});
    EXPECT_EQ(TempDir::read(dir.file("system.ini")).find("[domino]\r\nserver=Mail01/Velloran\r\n"), 0u);
    struct stat info {};
    ASSERT_EQ(::stat(dir.file("system.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_NE(TempDir::read(dir.file("system.ini")).find("pwd=\xC3\xDC\xC2\xEB" "abc"), std::string::npos)
        << "the password is stored in GB18030";

    const LoginValues values = loadLoginValues(folderOf(dir), hostName);
    EXPECT_EQ(values.server, "Mail01/Velloran");
    EXPECT_EQ(values.user, QStringLiteral("李四"));
    EXPECT_EQ(values.password, QStringLiteral("密码abc"));
}

TEST(Settings, AnEmptyPasswordIsStoredAsAnEmptyKey) {
    TempDir dir;
    saveLoginValues(folderOf(dir), {QStringLiteral("S"), QStringLiteral("u"), QString()});
    EXPECT_EQ(TempDir::read(dir.file("system.ini")), "[domino]\r\nserver=S\r\nusername=u\r\npwd=\r\n");
}

TEST(Settings, AFileThatCannotBeWrittenIsNamedInTheError) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("system.ini"));  // a folder where the file should be
    try {
        saveLoginValues(folderOf(dir), {QStringLiteral("S"), QStringLiteral("u"), QStringLiteral("p")});
        FAIL() << "expected an error";
    } catch (const velloran::platform::Failure& e) {
        EXPECT_EQ(QString::fromStdString(e.what()),
                  QStringLiteral("登录设置未保存: 无法写入设置文件 %1。").arg(QString::fromStdString(dir.file("system.ini"))));
    }
}

TEST(Settings, AUserNameIsNeverSavedWithoutItsPassword) {
    TempDir dir;
    const std::string before = "[domino]\r\nserver=S\r\nusername=old\r\npwd=oldpass\r\n";
    dir.write("system.ini", before);
    ScriptedPrompts prompts;
    EXPECT_FALSE(rememberLoginValues(folderOf(dir), {QStringLiteral("S2"), QStringLiteral("t4"), QStringLiteral("a\nb")},
                                     prompts));
    EXPECT_EQ(TempDir::read(dir.file("system.ini")), before);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_TRUE(prompts.messages()[0].text.startsWith(QStringLiteral("登录设置未保存: 服务器名、用户名或密码中含有换行符")))
        << prompts.messages()[0].text.toStdString();

    EXPECT_TRUE(rememberLoginValues(folderOf(dir), {QStringLiteral("S2"), QStringLiteral("t4"), QStringLiteral("ab")},
                                    prompts));
    EXPECT_EQ(TempDir::read(dir.file("system.ini")), "[domino]\r\nserver=S2\r\nusername=t4\r\npwd=ab\r\n");
    EXPECT_EQ(prompts.messages().size(), 1u);
}

TEST(Settings, AnExistingFileIsNarrowedToItsOwnerAndALinkIsWrittenThrough) {
    TempDir dir;
    const std::string target = dir.write("shared/system.ini", "; kept\n[domino]\nserver=S\n");
    std::filesystem::permissions(target, std::filesystem::perms(0644));
    std::filesystem::create_directory(dir.file("exe"));
    std::filesystem::create_symlink("../shared/system.ini", dir.file("exe/system.ini"));
    saveLoginValues(QString::fromStdString(dir.file("exe/")), {QStringLiteral("S"), QStringLiteral("u"), QStringLiteral("p")});
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("exe/system.ini")));
    EXPECT_EQ(TempDir::read(target), "; kept\n[domino]\nserver=S\nusername=u\npwd=p\n");
    EXPECT_EQ(permissionsOf(target), 0600u);
}

TEST_F(UserSettings, AProgramFolderThatCannotBeWrittenKeepsThemInTheUsersFolder) {
    // An installed copy's folder stands for any that this user cannot write.
    const QString installed = QString::fromStdString(exe_.file("usr/bin/"));
    saveLoginValues(installed, {QStringLiteral("S"), QStringLiteral("u"), QStringLiteral("p")});
    EXPECT_EQ(TempDir::read(usersFile()), "[domino]\r\nserver=S\r\nusername=u\r\npwd=p\r\n");
    EXPECT_EQ(permissionsOf(usersFile()), 0600u);
    EXPECT_EQ(permissionsOf(home_.file("velloran")), 0700u);
    EXPECT_EQ(loadLoginValues(installed, hostName).user, "u");
}

TEST_F(UserSettings, AWritableProgramFolderKeepsThemBesideTheProgram) {
    home_.write("velloran/system.ini", "[domino]\r\nusername=elsewhere\r\n");
    exe_.write("system.ini", "[domino]\r\nusername=beside\r\n");
    EXPECT_EQ(loadLoginValues(folderOf(exe_), hostName).user, "beside");
    saveLoginValues(folderOf(exe_), {QStringLiteral("S"), QStringLiteral("u"), QStringLiteral("p")});
    EXPECT_EQ(TempDir::read(usersFile()), "[domino]\r\nusername=elsewhere\r\n");
    EXPECT_EQ(loadLoginValues(folderOf(exe_), hostName).user, "u");
}

// The folder goes into a file of its own: "system.ini", beside the program or
// the user's, is never written for it.
TEST_F(UserSettings, TheLastExportFolderIsKeptInAFileOfItsOwn) {
    EXPECT_EQ(loadExportFolder(), QString()) << "none before the first export";
    for (const QString& folder : {QStringLiteral("/srv/导出"), QStringLiteral("/a\nb"), QStringLiteral("/home/u/out")}) {
        rememberExportFolder(folder);
        EXPECT_EQ(loadExportFolder(), folder);
    }
    EXPECT_EQ(TempDir::read(home_.file("velloran/export-folder")), "/home/u/out");
    EXPECT_EQ(permissionsOf(home_.file("velloran/export-folder")), 0600u);
    EXPECT_FALSE(std::filesystem::exists(exe_.file("system.ini")));
    EXPECT_FALSE(std::filesystem::exists(usersFile()));
}

// What is at the file's place is not trusted: a file longer than any path,
// a pipe (whose read would block the start) and a folder read as none, and
// a failure to write does not reach the export.
TEST_F(UserSettings, AnExportFolderFileThatIsNotOursReadsAsNone) {
    const std::string path = home_.file("velloran/export-folder");
    const std::vector<std::function<void()>> notOurs = {
        [&] { home_.write("velloran/export-folder", std::string(64 * 1024 + 1, 'a')); },
        [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); },
        [&] { std::filesystem::create_directories(path + "/in-the-way"); }};
    for (const auto& make : notOurs) {
        std::filesystem::create_directories(home_.file("velloran"));
        std::filesystem::remove_all(path);
        make();
        EXPECT_EQ(loadExportFolder(), QString());
    }
    EXPECT_NO_THROW(rememberExportFolder(QStringLiteral("/srv")));
    EXPECT_EQ(loadExportFolder(), QString());
}
