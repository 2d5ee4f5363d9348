#include "Settings.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace velloran::app;
using velloran::testing::TempDir;

namespace {

QString folderOf(const TempDir& dir) { return QString::fromStdString(dir.path().string()) + "/"; }
QString hostName() { return QStringLiteral("PC-07"); }

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
    } catch (const std::exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + dir.file("system.ini"));
    }
}
