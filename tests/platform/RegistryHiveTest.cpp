#include "registry/RegistryHive.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using velloran::platform::Failure;
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
        FAIL() << "expected Failure";
    } catch (const Failure& e) {
        EXPECT_STREQ(e.original(), "Invalid data type for ''");
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
        } catch (const Failure& e) {
            EXPECT_NE(std::string(e.original()).find(where), std::string::npos) << e.original();
            EXPECT_NE(std::string(e.original()).find(file), std::string::npos) << e.original();
        }
    }
}

TEST(RegistryHive, SaveIntoAMissingFolderFails) {
    TempDir dir;
    RegistryHive hive;
    hive.setString("\\A", "", "x");
    EXPECT_THROW(hive.saveAs(dir.file("no/such/folder/hive.reg")), Failure);
}

TEST(RegistryHive, LineBreaksAreRefusedSoTheFileStaysLoadable) {
    TempDir dir;
    RegistryHive hive;
    EXPECT_THROW(hive.setString("\\A", "", "/opt/x\n[HKLM\\B]"), Failure);
    EXPECT_THROW(hive.setString("\\A", "na\rme", "x"), Failure);
    EXPECT_THROW(hive.createKey("\\A\nB"), Failure);
    hive.setString("\\A", "", "kept");
    hive.saveAs(dir.file("hive.reg"));
    RegistryHive again = RegistryHive::load(dir.file("hive.reg"));
    EXPECT_EQ(again.readString("\\A", ""), "kept");
    EXPECT_FALSE(again.hasKey("\\B"));
}

TEST(RegistryHive, AFolderInPlaceOfTheFileIsAnError) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("hive.reg"));
    EXPECT_THROW(RegistryHive::load(dir.file("hive.reg")), Failure);
}

TEST(RegistryHive, ChangingOneValueLeavesEveryOtherByteOfTheFile) {
    TempDir dir;
    const std::string before =
        "REGEDIT4\r\n"
        "; installed by the setup\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Zeta]\r\n"
        "\"Expand\"=hex(2):25,00,41,00,\\\r\n"
        "    00,00\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32]\r\n"
        "  @=\"/old/x.so\"\r\n"
        "\"ThreadingModel\"=\"Apartment\"\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Alpha]\r\n"
        "\"N\"=dword:00000001";
    const std::string file = dir.write("hive.reg", before);
    RegistryHive hive = RegistryHive::load(file);
    hive.setString("HKCR\\CLSID\\{1}\\InprocServer32", "", "/new/x.so");
    hive.save();
    std::string expected = before;
    expected.replace(expected.find("@=\"/old/x.so\""), 13, "@=\"/new/x.so\"");
    EXPECT_EQ(TempDir::read(file), expected);

    // A value the key lacks goes after its last value, a new key at the end
    // (its parents stay implicit), both in the file's own line ends.
    hive.setString("HKCR\\CLSID\\{1}\\InprocServer32", "Added", "a");
    hive.setString("\\Software\\Beta\\Gamma", "", "g");
    hive.save();
    expected.insert(expected.find("\"ThreadingModel\"=\"Apartment\"\r\n") + 30, "\"Added\"=\"a\"\r\n");
    expected += "\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Beta\\Gamma]\r\n@=\"g\"\r\n";
    EXPECT_EQ(TempDir::read(file), expected);
    EXPECT_EQ(RegistryHive::load(file).value("\\Software\\Alpha", "N")->dword, 1u);
}

TEST(RegistryHive, ANewHiveHoldsOnlyTheKeysGiven) {
    RegistryHive hive;
    hive.setString("\\Software\\B", "Path", "/b");
    hive.createKey("\\Software\\A");
    EXPECT_EQ(hive.toText(), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\B]\n\"Path\"=\"/b\"\n\n"
                             "[HKEY_LOCAL_MACHINE\\Software\\A]\n");
    EXPECT_TRUE(hive.hasKey("\\Software"));
}

TEST(RegistryHive, ASymbolicLinkStaysALinkAndItsTargetIsRewritten) {
    TempDir dir;
    const std::string target = dir.write("real/hive.reg", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n@=\"old\"\n");
    std::filesystem::create_directory(dir.file("etc"));
    std::filesystem::create_symlink("../real/hive.reg", dir.file("etc/hive.reg"));
    RegistryHive hive = RegistryHive::load(dir.file("etc/hive.reg"));
    ASSERT_TRUE(hive.writable());
    hive.setString("\\A", "", "new");
    hive.save();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("etc/hive.reg")));
    EXPECT_EQ(TempDir::read(target), "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\A]\n@=\"new\"\n");
}

TEST(RegistryHive, AReadableLoadReadsAroundDamagedLinesAndListsThem) {
    TempDir dir;
    const std::string file = dir.write("hive.reg",
                                       "not a hive\n"
                                       "[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino]\n"
                                       "\"Path\"=\"/opt/domino\"\n"
                                       "Broken=1\n"
                                       "[HKEY_LOCAL_MACHINE\\Software\\Lost\n"
                                       "\"Orphan\"=\"x\"\n"
                                       "[HKEY_LOCAL_MACHINE\\Software\\Lotus\\Notes]\n");
    RegistryHive hive = RegistryHive::loadReadable(file);
    EXPECT_EQ(hive.readString("\\Software\\Lotus\\Domino", "Path"), "/opt/domino");
    EXPECT_TRUE(hive.hasKey("\\Software\\Lotus\\Notes"));
    EXPECT_FALSE(hive.hasKey("\\Software\\Lost"));
    std::vector<std::pair<int, std::string>> lines;
    for (const auto& damage : hive.damage()) lines.emplace_back(damage.line, damage.text);
    EXPECT_EQ(lines, (std::vector<std::pair<int, std::string>>{{1, "not a hive"},
                                                               {4, "Broken=1"},
                                                               {5, "[HKEY_LOCAL_MACHINE\\Software\\Lost"},
                                                               {6, "\"Orphan\"=\"x\""}}));
    EXPECT_THROW(RegistryHive::load(file), Failure) << "the strict load still refuses the file";

    // Saving such a hive keeps its damaged lines for a person to mend.
    hive.setString("\\Software\\Lotus\\Domino", "Path", "/srv/domino");
    hive.save();
    EXPECT_NE(TempDir::read(file).find("Broken=1\n[HKEY_LOCAL_MACHINE\\Software\\Lost\n"), std::string::npos);
}
