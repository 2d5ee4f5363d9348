#include "ini/IniFile.h"

#include "QStringPrinter.h"
#include "TempDir.h"

#include <gtest/gtest.h>


using velloran::platform::Failure;
using velloran::platform::IniFile;
using velloran::testing::TempDir;

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

class IniFileTest : public ::testing::Test {
protected:
    IniFile fileWith(const char* contents) { return IniFile(QString::fromStdString(dir.write("system.ini", contents))); }
    std::string contents() const { return TempDir::read(dir.file("system.ini")); }

    TempDir dir;
};

}  // namespace

TEST_F(IniFileTest, NamesMatchWithoutRegardToCaseAndTheFirstMatchWins) {
    IniFile ini = fileWith("[Other]\nServer=no\n[DOMINO]\nSERVER=srv1\nserver=second\n[domino]\nusername=late\n");
    EXPECT_EQ(ini.readString("domino", "Server", "-"), "srv1");
    EXPECT_EQ(ini.readString("domino", "username", "-"), "-") << "only the first [domino] is read";
}

TEST_F(IniFileTest, BlanksAndOnePairOfQuotesAreRemoved) {
    IniFile ini = fileWith("[s]\n"
                           "  a  =  spaced value \t\n"
                           "b=\"quoted\"\n"
                           "c='single'\n"
                           "d=\"\"twice\"\"\n"
                           "e=\"mismatched'\n"
                           "f=\"\n"
                           "g=\n");
    EXPECT_EQ(ini.readString("s", "a", "-"), "spaced value");
    EXPECT_EQ(ini.readString("s", "b", "-"), "quoted");
    EXPECT_EQ(ini.readString("s", "c", "-"), "single");
    EXPECT_EQ(ini.readString("s", "d", "-"), "\"twice\"");
    EXPECT_EQ(ini.readString("s", "e", "-"), "\"mismatched'");
    EXPECT_EQ(ini.readString("s", "f", "-"), "\"");
    EXPECT_EQ(ini.readString("s", "g", "-"), "") << "present but empty is not the default";
}

TEST_F(IniFileTest, MissingFileSectionOrKeyReadsAsTheDefault) {
    IniFile missing(QString::fromStdString(dir.file("absent.ini")));
    EXPECT_EQ(missing.readString("domino", "server", "fallback"), "fallback");
    EXPECT_FALSE(std::filesystem::exists(dir.file("absent.ini"))) << "reading creates nothing";

    IniFile ini = fileWith("; server=commented\n[domino]\nusername=u\n");
    EXPECT_EQ(ini.readString("domino", "server", "d"), "d");
    EXPECT_EQ(ini.readString("other", "username", "d"), "d");
    EXPECT_EQ(ini.readString("domino", "; server", "d"), "d");
}

TEST_F(IniFileTest, AValueReadsBackAsAtMost2047BytesCutBetweenCharacters) {
    std::string longAscii = "[s]\nk=" + std::string(3000, 'x') + "\n";
    EXPECT_EQ(fileWith(longAscii.c_str()).readString("s", "k", {}).size(), 2047);

    // 1023 Chinese characters are 2046 bytes; the next one would reach 2048.
    QString chinese = QString(1100, QChar(0x4E2D));
    IniFile ini(QString::fromStdString(dir.file("cn.ini")));
    ini.writeString("s", "k", chinese);
    EXPECT_EQ(ini.readString("s", "k", {}), chinese.left(1023));
}

TEST_F(IniFileTest, AFileWrittenFromScratchHoldsTheSectionAndKeysInOrderWithCrLf) {
    IniFile ini(QString::fromStdString(dir.file("system.ini")));
    ini.writeString("domino", "server", "SRV1");
    ini.writeString("domino", "username", "Zhang San");
    ini.writeString("domino", "pwd", "");
    EXPECT_EQ(contents(), "[domino]\r\nserver=SRV1\r\nusername=Zhang San\r\npwd=\r\n");
}

TEST_F(IniFileTest, AChinesePasswordRoundTripsAsGbkBytes) {
    IniFile ini(QString::fromStdString(dir.file("system.ini")));
    ini.writeString("domino", "pwd", q("密码123"));
    EXPECT_EQ(ini.readString("domino", "pwd", {}), q("密码123"));
    EXPECT_NE(contents().find("pwd=\xC3\xDC\xC2\xEB" "123"), std::string::npos);
}

TEST_F(IniFileTest, ValuesWithBlanksOrQuotesAtTheirEdgesReadBackUnchanged) {
    IniFile ini(QString::fromStdString(dir.file("system.ini")));
    for (const char* value : {" lead", "trail ", "\"quoted\"", "'single'", "\"", "a \"b\" c", "\t"}) {
        ini.writeString("domino", "pwd", q(value));
        EXPECT_EQ(ini.readString("domino", "pwd", {}), q(value)) << contents();
    }
}

TEST_F(IniFileTest, WritingKeepsEverythingElseAndTheFilesLineEnds) {
    IniFile ini = fileWith("; settings\n"
                           "[other]\n"
                           "x = 1 \n"
                           "\n"
                           "[Domino]\n"
                           "; the server\n"
                           "Server=old\n"
                           "odd line\n"
                           "\n"
                           "[last]\n"
                           "y=2");
    ini.writeString("domino", "server", "new");
    ini.writeString("domino", "pwd", "p");
    ini.writeString("last", "z", "3");
    ini.writeString("added", "k", "v");
    EXPECT_EQ(contents(), "; settings\n"
                          "[other]\n"
                          "x = 1 \n"
                          "\n"
                          "[Domino]\n"
                          "; the server\n"
                          "Server=new\n"
                          "odd line\n"
                          "pwd=p\n"
                          "\n"
                          "[last]\n"
                          "y=2\n"
                          "z=3\n"
                          "\n"
                          "[added]\n"
                          "k=v\n");
}

TEST_F(IniFileTest, BytesThatAreNotGb18030SurviveAWriteElsewhere) {
    IniFile ini = fileWith("[a]\r\nbad=\x81\xFF\x80\r\n[domino]\r\nserver=x\r\n");
    ini.writeString("domino", "server", "y");
    EXPECT_EQ(contents(), "[a]\r\nbad=\x81\xFF\x80\r\n[domino]\r\nserver=y\r\n");
}

TEST_F(IniFileTest, ANewFileGetsTheGivenModeAndAnExistingFileLosesAnyBeyondIt) {
    auto permissions = [&] { return std::filesystem::status(dir.file("system.ini")).permissions(); };
    using std::filesystem::perms;
    IniFile secret(QString::fromStdString(dir.file("system.ini")), 0600);
    secret.writeString("domino", "pwd", "p");
    EXPECT_EQ(permissions(), perms::owner_read | perms::owner_write);

    std::filesystem::permissions(dir.file("system.ini"), perms::owner_read | perms::group_read | perms::others_read);
    secret.writeString("domino", "pwd", "q");
    EXPECT_EQ(permissions(), perms::owner_read);

    IniFile plain(QString::fromStdString(dir.file("system.ini")));
    std::filesystem::permissions(dir.file("system.ini"), perms::owner_read | perms::owner_write | perms::group_read);
    plain.writeString("domino", "pwd", "r");
    EXPECT_EQ(permissions(), perms::owner_read | perms::owner_write | perms::group_read);
}

TEST_F(IniFileTest, SeveralKeysAreWrittenAllOrNone) {
    IniFile ini = fileWith("[domino]\r\nusername=old\r\npwd=old\r\n");
    EXPECT_THROW(ini.writeStrings("domino", {{"username", "new"}, {"pwd", "line\nbreak"}}), Failure);
    EXPECT_EQ(contents(), "[domino]\r\nusername=old\r\npwd=old\r\n");
    ini.writeStrings("domino", {{"username", "new"}, {"pwd", "p"}, {"server", "s"}});
    EXPECT_EQ(contents(), "[domino]\r\nusername=new\r\npwd=p\r\nserver=s\r\n");
}

TEST_F(IniFileTest, AFileThatCannotBeWrittenGivesUnableToWriteToItsPath) {
    std::filesystem::create_directory(dir.file("folder.ini"));
    const std::string paths[] = {dir.file("no/such/folder/system.ini"), dir.file("folder.ini")};
    for (const std::string& path : paths) {
        IniFile ini(QString::fromStdString(path));
        try {
            ini.writeString("domino", "server", "x");
            ADD_FAILURE() << "wrote " << path;
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()), "无法写入设置文件 " + path);
            EXPECT_EQ(std::string(e.original()).rfind("Unable to write to " + path + ": ", 0), 0u) << e.original();
        }
    }
}

TEST_F(IniFileTest, ValuesAndNamesThatWouldSpillOntoAnotherLineAreRefused) {
    IniFile ini = fileWith("[domino]\r\nserver=x\r\n");
    EXPECT_THROW(ini.writeString("domino", "pwd", "a\r\n[evil]\r\nk=v"), Failure);
    EXPECT_THROW(ini.writeString("domino", "a=b", "v"), Failure);
    EXPECT_THROW(ini.writeString("dom]ino", "k", "v"), Failure);
    EXPECT_EQ(contents(), "[domino]\r\nserver=x\r\n");
}
