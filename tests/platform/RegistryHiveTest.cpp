#include "registry/RegistryHive.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using velloran::platform::HiveError;
using velloran::platform::RegistryHive;
using velloran::platform::RegistryValue;
using velloran::testing::TempDir;

TEST(RegistryHive, ReadsKeysAndValuesWithoutRegardToCase) {
    TempDir dir;
    std::string file = dir.write("hive.reg",
                                 "REGEDIT4\r\n\r\n"
                                 "[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\r\n"
                                 "\"Path\"=\"/opt/lotus\\\\domino\"\r\n"
                                 "@=\"default \\\"quoted\\\"\"\r\n"
                                 "\"Count\"=dword:0000002a\r\n"
                                 "\"Blob\"=hex:01,ff,\\\r\n"
                                 "  10\r\n");
    RegistryHive hive = RegistryHive::load(file);
    EXPECT_TRUE(hive.hasKey("\\SOFTWARE\\lotus\\DOMINO"));
    EXPECT_TRUE(hive.hasKey("HKLM\\Software\\Lotus"));  // parents exist
    EXPECT_FALSE(hive.hasKey("\\Software\\Lotus\\Notes"));
    EXPECT_EQ(hive.readString("\\Software\\Lotus\\Domino", "path"), "/opt/lotus\\domino");
    EXPECT_EQ(hive.readString("\\Software\\Lotus\\Domino", ""), "default \"quoted\"");
    EXPECT_EQ(hive.readString("\\Software\\Lotus\\Domino", "Missing"), "");
    EXPECT_EQ(hive.value("\\Software\\Lotus\\Domino", "Count")->dword, 42u);
    EXPECT_EQ(hive.value("\\Software\\Lotus\\Domino", "Blob")->bytes, (std::vector<std::uint8_t>{1, 255, 16}));
}

TEST(RegistryHive, ReadingAValueOfAnotherKindAsTextNamesIt) {
    RegistryHive hive;
    hive.setValue("\\Software\\X", "", RegistryValue::number(1));
    try {
        hive.readString("\\Software\\X", "");
        FAIL() << "expected HiveError";
    } catch (const HiveError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for ''");
    }
}

TEST(RegistryHive, ClassesRootIsTheMachineClassesKey) {
    RegistryHive hive;
    hive.setString("HKEY_CLASSES_ROOT\\Excel.Application\\CLSID", "", "{1}");
    EXPECT_EQ(hive.readString("HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\excel.application\\CLSID", ""), "{1}");
    EXPECT_EQ(hive.subKeys("HKCR"), std::vector<std::string>{"Excel.Application"});
}

TEST(RegistryHive, SaveRoundTripsAndReplacesTheFileWhole) {
    TempDir dir;
    RegistryHive hive;
    hive.setString("\\Software\\Lotus\\Notes", "Path", "C:\\Notes \"x\"");
    hive.setValue("\\Software\\Lotus\\Notes", "Bits", RegistryValue::number(0xdeadbeef));
    hive.saveAs(dir.file("hive.reg"));
    hive.setString("\\Software\\Lotus\\Notes", "PATH", "changed");  // same value, other case
    hive.save();

    RegistryHive again = RegistryHive::load(dir.file("hive.reg"));
    EXPECT_EQ(again.toText(), hive.toText());
    EXPECT_EQ(again.readString("\\Software\\Lotus\\Notes", "Path"), "changed");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no temporary left";
}

TEST(RegistryHive, MissingFileIsAnEmptyHive) {
    TempDir dir;
    RegistryHive hive = RegistryHive::load(dir.file("absent.reg"));
    EXPECT_FALSE(hive.hasKey("\\Software"));
}

TEST(RegistryHive, MalformedFilesGiveAClearErrorWithTheLine) {
    TempDir dir;
    const std::pair<const char*, const char*> cases[] = {
        {"not a hive\n", "line 1"},
        {"REGEDIT4\n\"Path\"=\"x\"\n", "line 2: a value stands before any key"},
        {"REGEDIT4\n[HKLM\\A]\n\"Path\"=\"unterminated\n", "line 3"},
        {"REGEDIT4\n[HKLM\\A]\n\"N\"=dword:xyz\n", "line 3"},
        {"REGEDIT4\n[HKLM\\A\n", "line 2"},
        {"REGEDIT4\n[HKLM\\A]\nPath=1\n", "line 3"},
    };
    for (const auto& [text, where] : cases) {
        std::string file = dir.write("bad.reg", text);
        try {
            RegistryHive::load(file);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const HiveError& e) {
            EXPECT_NE(std::string(e.what()).find(where), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
        }
    }
}

TEST(RegistryHive, SaveIntoAMissingFolderFails) {
    TempDir dir;
    RegistryHive hive;
    hive.setString("\\A", "", "x");
    EXPECT_THROW(hive.saveAs(dir.file("no/such/folder/hive.reg")), HiveError);
}

TEST(RegistryHive, LineBreaksAreRefusedSoTheFileStaysLoadable) {
    TempDir dir;
    RegistryHive hive;
    EXPECT_THROW(hive.setString("\\A", "", "/opt/x\n[HKLM\\B]"), HiveError);
    EXPECT_THROW(hive.setString("\\A", "na\rme", "x"), HiveError);
    EXPECT_THROW(hive.createKey("\\A\nB"), HiveError);
    hive.setString("\\A", "", "kept");
    hive.saveAs(dir.file("hive.reg"));
    RegistryHive again = RegistryHive::load(dir.file("hive.reg"));
    EXPECT_EQ(again.readString("\\A", ""), "kept");
    EXPECT_FALSE(again.hasKey("\\B"));
}

TEST(RegistryHive, AFolderInPlaceOfTheFileIsAnError) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("hive.reg"));
    EXPECT_THROW(RegistryHive::load(dir.file("hive.reg")), HiveError);
}
