// Whether a file may be put at a name: decided from owners, mode bits, the
// sticky bit and the entry's type as the kernel decides, for an ordinary
// user and for root alike, and read from the file system as it is.
#include "TempDir.h"
#include "files/Replaceable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace velloran::platform {
namespace {

constexpr uid_t kUser = 1000;
constexpr uid_t kOther = 1001;
constexpr gid_t kUserGroup = 100;
constexpr gid_t kOtherGroup = 200;
const Identity kUserIdentity{kUser, {kUserGroup}};
const Identity kRootIdentity{0, {0}};

EntryFacts folder(mode_t bits, uid_t owner = kUser, gid_t group = kUserGroup) { return {S_IFDIR | bits, owner, group}; }
EntryFacts file(mode_t bits, uid_t owner = kUser) { return {S_IFREG | bits, owner, kUserGroup}; }
EntryFacts link(uid_t owner) { return {S_IFLNK | 0777, owner, kOtherGroup}; }

struct Case {
    const char* what;
    TargetFacts facts;
    WriteRefusal expected;
};

void expectRefusals(const std::vector<Case>& cases, const Identity& who) {
    for (const Case& c : cases) EXPECT_EQ(writeRefusal(c.facts, who), c.expected) << c.what;
}

TEST(Replaceable, TheFoldersOwnerGroupOrOthersBitsDecideWhoMayPutAFileInIt) {
    expectRefusals(
        {{"own folder", {folder(0755), {}, false}, WriteRefusal::None},
         {"no folder", {{}, {}, false}, WriteRefusal::NoFolder},
         {"a file where the folder should be", {file(0777), {}, false}, WriteRefusal::NoFolder},
         {"own read-only folder", {folder(0555), {}, false}, WriteRefusal::FolderNotWritable},
         {"own folder without search", {folder(0666), {}, false}, WriteRefusal::FolderNotWritable},
         {"owner's bits count though others' allow", {folder(0577), {}, false}, WriteRefusal::FolderNotWritable},
         {"group folder, user in it", {folder(0070, kOther, kUserGroup), {}, false}, WriteRefusal::None},
         {"group folder, user not in it", {folder(0075, kOther, kOtherGroup), {}, false},
          WriteRefusal::FolderNotWritable},
         {"others may write", {folder(0707, kOther, kOtherGroup), {}, false}, WriteRefusal::None},
         {"read-only file system", {folder(0777), {}, true}, WriteRefusal::ReadOnlyFileSystem}},
        kUserIdentity);
}

TEST(Replaceable, WhatHasTheNameDecidesWhetherItMayBeReplaced) {
    expectRefusals(
        {{"own file", {folder(0755), file(0644), false}, WriteRefusal::None},
         {"own read-only file", {folder(0755), file(0444), false}, WriteRefusal::ReadOnlyFile},
         {"another's writable file, plain folder", {folder(0755), file(0666, kOther), false}, WriteRefusal::None},
         {"a folder of that name", {folder(0755), folder(0777), false}, WriteRefusal::FolderInTheWay},
         {"another's file in a sticky folder", {folder(01777, kOther), file(0666, kOther), false},
          WriteRefusal::OwnedByAnother},
         {"own file in another's sticky folder", {folder(01777, kOther), file(0644), false}, WriteRefusal::None},
         {"another's file in own sticky folder", {folder(01755), file(0666, kOther), false}, WriteRefusal::None},
         {"another's link in a sticky folder", {folder(01777, kOther), link(kOther), false},
          WriteRefusal::OwnedByAnother},
         {"own link: its bits are not the file's", {folder(0755), link(kUser), false}, WriteRefusal::None}},
        kUserIdentity);
}

TEST(Replaceable, RootIsRefusedOnlyAFolderOfThatNameAndAReadOnlyFileSystem) {
    expectRefusals(
        {{"read-only folder", {folder(0555, kOther), {}, false}, WriteRefusal::None},
         {"another's file in a sticky folder", {folder(01777, kOther), file(0600, kOther), false}, WriteRefusal::None},
         {"read-only file", {folder(0755, kOther), file(0444, kOther), false}, WriteRefusal::None},
         {"a folder of that name", {folder(0755), folder(0755), false}, WriteRefusal::FolderInTheWay},
         {"read-only file system", {folder(0755), file(0644), true}, WriteRefusal::ReadOnlyFileSystem},
         {"no folder", {{}, {}, false}, WriteRefusal::NoFolder}},
        kRootIdentity);
}

// The facts come from the entry itself, not from where a link leads; a name
// kept rather than replaced does not count.
TEST(Replaceable, TheFileSystemIsReadForTheEntryOfTheNameItself) {
    testing::TempDir dir;
    std::filesystem::create_directories(dir.path() / "taken");
    std::filesystem::create_directory_symlink(dir.path() / "taken", dir.path() / "link");
    dir.write("plain", "x");
    struct Row {
        std::string name;
        bool replacing;
        WriteRefusal expected;
    };
    const std::vector<Row> rows = {{"free", true, WriteRefusal::None},
                                   {"plain", true, WriteRefusal::None},
                                   {"taken", true, WriteRefusal::FolderInTheWay},
                                   {"taken", false, WriteRefusal::None},
                                   {"link", true, WriteRefusal::None},
                                   {"missing/free", true, WriteRefusal::NoFolder},
                                   {"plain/free", true, WriteRefusal::NoFolder}};
    for (const Row& row : rows)
        EXPECT_EQ(writeRefusalAt(dir.file(row.name), row.replacing), row.expected) << row.name << " " << row.replacing;
    EXPECT_TRUE(S_ISLNK(targetFacts(dir.file("link")).existing->mode));
    EXPECT_EQ(writeRefusalAt("", true), WriteRefusal::NoFolder);
}

}  // namespace
}  // namespace velloran::platform
