// Folders created and opened inside one another without following links:
// a link or file planted on the way is refused with a message naming it,
// and a file reached through an open folder stays there whatever happens
// to the names above it.
#include "TempDir.h"
#include "files/OpenFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace velloran::platform {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

std::string errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& e) {
        return e.original();
    }
    return "no error";
}

class OpenFolderTest : public ::testing::Test {
protected:
    OpenFolder root() const { return OpenFolder::open(dir_.path().string()); }

    TempDir dir_;
    TempDir victim_;
};

TEST_F(OpenFolderTest, CreatesNestedFoldersAndOpensExistingOnes) {
    OpenFolder made = root().descend({"a", "b", "c"});
    EXPECT_TRUE(std::filesystem::is_directory(dir_.file("a/b/c")));
    EXPECT_EQ(made.path(), dir_.file("a/b/c"));
    EXPECT_EQ(root().descend({"a", "b"}).child("c").path(), dir_.file("a/b/c")) << "an existing folder is opened";
    EXPECT_EQ(OpenFolder::open(dir_.path().string() + "/").child("x").path(), dir_.file("x"));
}

TEST_F(OpenFolderTest, ALinkOrFileOnTheWayIsRefusedByName) {
    std::filesystem::create_directory_symlink(victim_.path(), dir_.file("linked"));
    std::filesystem::create_directory(dir_.file("a"));
    std::filesystem::create_symlink(dir_.file("nowhere"), dir_.file("a/dangling"));
    dir_.write("a/file", "in the way");

    EXPECT_EQ(errorOf([&] { root().descend({"linked", "inside"}); }),
              "The folder " + dir_.file("linked") + " is a symbolic link; nothing is written through a link");
    EXPECT_THAT(errorOf([&] { root().descend({"a", "dangling"}); }), HasSubstr(dir_.file("a/dangling") + " is a symbolic link"));
    EXPECT_EQ(errorOf([&] { root().descend({"a", "file"}); }),
              "Cannot use the folder " + dir_.file("a/file") + ": something that is not a folder is in its place");
    EXPECT_TRUE(std::filesystem::is_empty(victim_.path())) << "nothing was made through the link";
    EXPECT_FALSE(std::filesystem::exists(dir_.file("nowhere"))) << "nor at the dangling link's target";
    EXPECT_EQ(TempDir::read(dir_.file("a/file")), "in the way");
}

TEST_F(OpenFolderTest, AFolderThatCannotBeOpenedOrCreatedIsNamedWithTheReason) {
    EXPECT_EQ(errorOf([&] { OpenFolder::open(dir_.file("missing")); }),
              "Cannot open the folder " + dir_.file("missing") + ": No such file or directory");
    const std::string tooLong(256, 'n');
    EXPECT_EQ(errorOf([&] { root().child(tooLong); }),
              "Cannot create the folder " + dir_.file(tooLong) + ": File name too long");
}

TEST_F(OpenFolderTest, AFileReachedThroughTheFolderStaysThereWhenTheNamesAboveAreSwapped) {
    OpenFolder folder = root().descend({"out", "doc"});
    // The folder is moved away and a link to the victim planted in its place.
    std::filesystem::rename(dir_.file("out"), dir_.file("moved"));
    std::filesystem::create_directory_symlink(victim_.path(), dir_.file("out"));
    std::ofstream(folder.throughDescriptor("a.txt")) << "bytes";

    EXPECT_EQ(TempDir::read(dir_.file("moved/doc/a.txt")), "bytes");
    EXPECT_TRUE(std::filesystem::is_empty(victim_.path()));
    EXPECT_EQ(folder.pathOf("a.txt"), dir_.file("out/doc/a.txt")) << "messages keep the path it was reached by";
}

TEST_F(OpenFolderTest, AMovedFolderClosesItsDescriptorOnce) {
    OpenFolder first = root().child("a");
    const int fd = first.descriptor();
    OpenFolder second = std::move(first);
    EXPECT_EQ(second.descriptor(), fd);
    second = root().child("b");
    EXPECT_EQ(second.path(), dir_.file("b"));
}

}  // namespace
}  // namespace velloran::platform
