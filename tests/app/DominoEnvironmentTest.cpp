#include "DominoEnvironment.h"

#include "CapturedDiagnostics.h"
#include "ScriptedPrompts.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

using velloran::app::DominoEnvironment;
using velloran::platform::ComponentRuntime;
using velloran::testing::CapturedDiagnostics;
using velloran::testing::ScriptedPrompts;
using velloran::testing::TempDir;

namespace {

const std::string kRegistrationKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\CLSID\\"
                                     "{29131539-2EED-1069-BF5D-00DD011186B7}\\InprocServer32]\n";

class DominoEnvironmentTest : public ::testing::Test {
protected:
    void TearDown() override { QDir::setCurrent(startFolder_); }

    QString folder(const std::string& name) const {
        std::filesystem::create_directories(dir_.path() / name);
        return QString::fromStdString(dir_.file(name));
    }
    void writeHive(const std::string& body) { hivePath_ = dir_.write("hive.reg", "REGEDIT4\n\n" + body); }
    std::string hiveText() const { return TempDir::read(hivePath_); }
    DominoEnvironment environment() { return DominoEnvironment(ComponentRuntime(hivePath_), prompts_); }
    static std::string escaped(const QString& path) { return path.toStdString(); }

    TempDir dir_;
    std::string hivePath_ = dir_.file("hive.reg");
    ScriptedPrompts prompts_;
    QString startFolder_ = QDir::currentPath();
};

}  // namespace

TEST_F(DominoEnvironmentTest, NothingInstalled) {
    writeHive("[HKEY_LOCAL_MACHINE\\Software\\Other]\n");
    DominoEnvironment env = environment();
    EXPECT_FALSE(env.IsDominoInstalled());
    EXPECT_FALSE(env.IsNotesInstalled());
    EXPECT_EQ(env.GetDominoPath(), QStringLiteral("没有安装Domino"));
    EXPECT_EQ(env.GetDominoDataPath(), QStringLiteral("没有安装Domino"));
    EXPECT_EQ(env.GetNotesPath(), QString());
}

TEST_F(DominoEnvironmentTest, FoldersAreMarkedWhenMissing) {
    const QString domino = folder("Domino");
    writeHive("[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\n\"Path\"=\"" + escaped(domino) +
              "\"\n\"DataPath\"=\"" + escaped(domino) + "X\"\n[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Notes]\n");
    DominoEnvironment env = environment();
    EXPECT_TRUE(env.IsDominoInstalled());
    EXPECT_TRUE(env.IsNotesInstalled());
    EXPECT_EQ(env.GetDominoPath(), domino);
    EXPECT_EQ(env.GetDominoDataPath(), domino + QStringLiteral("X(找不到该目录)"));
    EXPECT_EQ(env.GetNotesPath(), QStringLiteral("(找不到该目录)"));
}

TEST_F(DominoEnvironmentTest, ADamagedHiveIsReadAroundItsDamageAndTheUserToldWhere) {
    hivePath_ = dir_.write("hive.reg", "this is not a hive\n[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\n"
                                       "\"Path\"=\"/opt/domino\"\nPath=/opt\n");
    DominoEnvironment env = environment();
    EXPECT_TRUE(env.RequireInstallation());
    ASSERT_EQ(prompts_.messages().size(), 1u) << "no refusal while the key can be read";
    const QString path = QString::fromStdString(hivePath_);
    EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("注册表文件 ") + path +
                                               QStringLiteral(" 第1行无法识别: this is not a hive\n注册表文件 ") + path +
                                               QStringLiteral(" 第4行无法识别: Path=/opt"));
    EXPECT_TRUE(env.IsDominoInstalled());
    EXPECT_EQ(env.GetDominoPath(), QStringLiteral("/opt/domino(找不到该目录)"));
}

TEST_F(DominoEnvironmentTest, TheRefusalFollowsTheDamageOnlyWhenTheKeysAreAbsent) {
    std::string hive = "REGEDIT4\n";
    for (int line = 0; line < 7; ++line) hive += "garbage\n";
    hivePath_ = dir_.write("hive.reg", hive);
    EXPECT_FALSE(environment().RequireInstallation());
    ASSERT_EQ(prompts_.messages().size(), 2u);
    const QStringList lines = prompts_.messages()[0].text.split(u'\n');
    ASSERT_EQ(lines.size(), DominoEnvironment::kDamageLinesShown + 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral(" 第2行无法识别: garbage"))) << lines[0].toStdString();
    EXPECT_EQ(lines.back(), QStringLiteral("另有2行无法识别"));
    EXPECT_TRUE(prompts_.messages()[1].text.startsWith(DominoEnvironment::kRefusal));
}

TEST_F(DominoEnvironmentTest, TheRefusalNamesTheHiveLookedForAndTheCommandThatMakesOne) {
    hivePath_ = dir_.file("nowhere/registry.reg");
    EXPECT_FALSE(environment().RequireInstallation());
    ASSERT_EQ(prompts_.messages().size(), 1u);
    const QStringList lines = prompts_.messages()[0].text.split(u'\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], DominoEnvironment::kRefusal);
    EXPECT_EQ(lines[1], QStringLiteral("已查找的注册表文件: ") + QString::fromStdString(hivePath_));
    EXPECT_EQ(lines[2], QStringLiteral("请运行 velloran-setup --data DATA_FOLDER 建立注册表"));
}

TEST_F(DominoEnvironmentTest, AHiveThatCannotBeReadIsNamedBeforeTheRefusal) {
    std::filesystem::create_directory(hivePath_);
    EXPECT_FALSE(environment().RequireInstallation());
    ASSERT_EQ(prompts_.messages().size(), 2u);
    EXPECT_EQ(prompts_.messages()[0].text, QStringLiteral("无法读取注册表文件 ") + QString::fromStdString(hivePath_));
    EXPECT_TRUE(prompts_.messages()[1].text.startsWith(DominoEnvironment::kRefusal));
}

TEST_F(DominoEnvironmentTest, ASoundHiveWithAProductStartsSilently) {
    writeHive("[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Notes]\n");
    EXPECT_TRUE(environment().RequireInstallation());
    EXPECT_TRUE(prompts_.calls().empty());
}

TEST_F(DominoEnvironmentTest, RegistrationEqualToTheExpectedPathIsNotRewritten) {
    const QString domino = folder("Domino");
    dir_.write("Domino/nlsxbe.dll", "component");
    writeHive(kRegistrationKey + "@=\"" + escaped(domino) + "/nlsxbe.dll\"\n");
    const auto before = std::filesystem::last_write_time(hivePath_);
    const std::string text = hiveText();
    EXPECT_TRUE(environment().CheckDominoObjectsRegistration(domino));
    EXPECT_EQ(hiveText(), text);
    EXPECT_EQ(std::filesystem::last_write_time(hivePath_), before);
    EXPECT_TRUE(prompts_.calls().empty());
}

TEST_F(DominoEnvironmentTest, RegistrationDifferingInCaseOrSeparatorsIsRewritten) {
    const QString domino = folder("Domino");
    dir_.write("Domino/nlsxbe.dll", "component");
    writeHive(kRegistrationKey + "@=\"" + escaped(domino) + "/NLSXBE.DLL\"\n");
    environment().CheckDominoObjectsRegistration(domino);
    EXPECT_NE(hiveText().find("@=\"" + escaped(domino) + "/nlsxbe.dll\""), std::string::npos) << hiveText();

    // A folder stored with a trailing separator gives two separators.
    environment().CheckDominoObjectsRegistration(domino + "/");
    EXPECT_NE(hiveText().find("@=\"" + escaped(domino) + "//nlsxbe.dll\""), std::string::npos) << hiveText();
    EXPECT_TRUE(prompts_.calls().empty());
}

TEST_F(DominoEnvironmentTest, APathWithoutAComponentFileIsNeverRegistered) {
    const QString domino = folder("Domino");
    writeHive(kRegistrationKey + "@=\"/elsewhere/nlsxbe.dll\"\n");
    const std::string text = hiveText();
    environment().CheckDominoObjectsRegistration(domino);
    environment().CheckDominoObjectsRegistration(domino + QStringLiteral("(找不到该目录)"));
    EXPECT_EQ(hiveText(), text);
}

TEST_F(DominoEnvironmentTest, UnregisteredClassWithoutItsFileTellsTheUser) {
    const QString domino = folder("Domino");
    writeHive("[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\n");
    EXPECT_TRUE(environment().CheckDominoObjectsRegistration(domino));
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(
        QStringLiteral("找不到您系统上Domino的一个关键组件，请确认您的Domino或NOtes安装正常!")));
    EXPECT_EQ(prompts_.messages()[0].caption, QStringLiteral("VelloranV3.4"));
    EXPECT_EQ(QDir::currentPath(), QDir(domino).canonicalPath());
}

TEST_F(DominoEnvironmentTest, UnregisteredClassWhoseFileCannotBeRegisteredTellsTheUser) {
    CapturedDiagnostics diagnostics;
    const QString domino = folder("Domino");
    dir_.write("Domino/nlsxbe.dll", "not a library");
    writeHive("[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\n");
    environment().CheckDominoObjectsRegistration(domino);
    EXPECT_TRUE(diagnostics.joined().contains("the component cannot be registered: ") &&
                diagnostics.joined().contains("nlsxbe.dll cannot be loaded"))
        << diagnostics.joined().toStdString();
    ASSERT_EQ(prompts_.messages().size(), 1u);
    EXPECT_TRUE(prompts_.messages()[0].text.startsWith(
        QStringLiteral("您好，系统在注册domino组件时失败，或许是您的系统对权限的限制")));
    EXPECT_EQ(hiveText().find("InprocServer32"), std::string::npos);
}

TEST_F(DominoEnvironmentTest, UnregisteredClassInAMissingFolderIsLeftAlone) {
    writeHive("[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\n");
    EXPECT_TRUE(environment().CheckDominoObjectsRegistration(QStringLiteral("/no/such/folder")));
    EXPECT_TRUE(prompts_.calls().empty());
    EXPECT_EQ(QDir::currentPath(), startFolder_);
}

TEST_F(DominoEnvironmentTest, ARegistrationValueOfAnotherKindIsAnError) {
    writeHive(kRegistrationKey + "@=dword:00000001\n");
    EXPECT_THROW(environment().CheckDominoObjectsRegistration(folder("Domino")), std::exception);
}

TEST_F(DominoEnvironmentTest, UnregisteredClassIsRegisteredFromTheFolder) {
    const QString domino = folder("Domino");
    std::filesystem::copy_file(TEST_COMPONENT_PATH, dir_.file("Domino/nlsxbe.dll"));
    writeHive("[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\n");
    environment().CheckDominoObjectsRegistration(domino);
    EXPECT_TRUE(prompts_.calls().empty());
    EXPECT_NE(hiveText().find(escaped(domino) + "/nlsxbe.dll"), std::string::npos) << hiveText();
}
