// Which entries of a data folder the window's tree and the batch tool's
// --list show: one scan, one rule.
#include "TempDir.h"
#include "files/DataFolder.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <sys/stat.h>

using namespace velloran;
using velloran::testing::TempDir;

namespace fs = std::filesystem;

TEST(DataFolderTest, ADatabaseIsARegularFileEndingInDotNsfInAnyLetterCase) {
    struct Case {
        const char* name;
        bool database;
    };
    const Case cases[] = {
        {"sales.nsf", true},  {"Mail.NSF", true},     {"a.Nsf", true},         {"archivensf", false},
        {"nsf", false},       {".nsf", false},        {".hidden.nsf", false},  {"sales.nsf.old", false},
        {"sales.ns", false},  {"sales.nsf ", false},  {"x.ntf", false},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::isDatabaseFileName(QString::fromUtf8(c.name)), c.database) << c.name;
}

TEST(DataFolderTest, TheScanListsFoldersAndDatabasesInNameOrderAndFollowsNoLinkOut) {
    TempDir data;
    TempDir outside;
    data.write("b.nsf", "x");
    data.write("A.NSF", "x");
    data.write("archivensf", "x");
    data.write("readme.txt", "x");
    data.write(".hidden/in.nsf", "x");
    data.write("apps/sales.nsf", "x");
    fs::create_directories(data.path() / "empty");
    fs::create_directories(data.path() / "folder.nsf");
    ASSERT_EQ(::mkfifo(data.file("pipe.nsf").c_str(), 0600), 0);
    outside.write("far.nsf", "x");
    outside.write("far/deep.nsf", "x");
    fs::create_symlink(outside.path() / "far.nsf", data.path() / "link-out.nsf");
    fs::create_symlink(outside.path() / "far", data.path() / "folder-out");
    fs::create_symlink(data.path() / "apps" / "sales.nsf", data.path() / "link-in.nsf");
    fs::create_symlink(data.path(), data.path() / "apps" / "loop");
    fs::create_symlink(data.path() / "gone.nsf", data.path() / "broken.nsf");

    const QString folder = QString::fromStdString(data.path().string());
    EXPECT_EQ(platform::databasePathsUnder(folder),
              (QStringList{"A.NSF", "apps\\sales.nsf", "b.nsf", "link-in.nsf"}));

    const std::vector<platform::DataFolderEntry> entries = platform::scanDataFolder(folder);
    QStringList top;
    for (const platform::DataFolderEntry& entry : entries) top << entry.name + (entry.folder ? "/" : "");
    EXPECT_EQ(top, (QStringList{"A.NSF", "apps/", "b.nsf", "empty/", "folder.nsf/", "link-in.nsf"}))
        << "every folder, also an empty one; a folder is no database whatever its name";
    EXPECT_TRUE(platform::scanDataFolder(QString::fromStdString(data.file("none"))).empty());
}
