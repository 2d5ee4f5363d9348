// Temporary files left by a killed run are removed by the next one; files
// still being written, links and names not of our pattern are never touched.
#include "TempDir.h"
#include "files/FileCalls.h"
#include "files/StagedFile.h"
#include "files/TemporaryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace velloran::platform {
namespace {

using testing::TempDir;

class TemporaryFilesTest : public ::testing::Test {
protected:
    TemporaryFilesTest() : folder_(::open(dir_.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}
    ~TemporaryFilesTest() override { ::close(folder_); }

    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    std::vector<std::string> sweep() const { return removeLeftoverTemporaries(folder_); }

    TempDir dir_;
    TempDir victim_;
    int folder_;
};

TEST(TemporaryNames, OnlyOurPatternIsOurs) {
    EXPECT_TRUE(isTemporaryName(".velloran-aZ09xy"));
    for (const char* other : {".velloran-abc12", ".velloran-abc1234", ".velloran-abc_12", "velloran-abc123",
                              ".Velloran-abc123", ".velloran-abc12/", ".book.xls.123.tmp"})
        EXPECT_FALSE(isTemporaryName(other)) << other;
}

TEST_F(TemporaryFilesTest, LeftoversAreRemovedAndEverythingElseStays) {
    dir_.write(".velloran-dead01", "left by a killed run");
    dir_.write(".velloran-dead02", "");
    dir_.write(".velloran-dead01-journal", "the killed build's journal");
    dir_.write(".velloran-gone01-wal", "its database swept before");
    dir_.write(".velloran-long123", "not our pattern");
    dir_.write("book.xls", "the user's");
    dir_.write("book.xls-journal", "not ours");
    std::filesystem::create_directory(dir_.file(".velloran-folder"));
    std::filesystem::create_directory(dir_.file(".velloran-fold01"));
    const std::string precious = victim_.write("precious", "keep");
    std::filesystem::create_symlink(precious, dir_.file(".velloran-link01"));

    EXPECT_THAT(sweep(), ::testing::IsEmpty());
    EXPECT_EQ(names(), (std::vector<std::string>{".velloran-fold01", ".velloran-folder", ".velloran-link01",
                                                 ".velloran-long123", "book.xls", "book.xls-journal"}));
    EXPECT_EQ(TempDir::read(precious), "keep");
}

TEST_F(TemporaryFilesTest, AFileLockedByALiveWriterStays) {
    const std::string held = dir_.write(".velloran-live01", "being written");
    dir_.write(".velloran-live01-journal", "its journal");
    const int fd = ::open(held.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    sweep();
    EXPECT_EQ(names(), (std::vector<std::string>{".velloran-live01", ".velloran-live01-journal"}));
    ::close(fd);
    sweep();
    EXPECT_TRUE(names().empty()) << "once its writer is gone";
}

TEST_F(TemporaryFilesTest, AStagedFileIsLockedUntilItIsInPlace) {
    StagedFile file(dir_.file("out.txt"));
    file.write("every byte", 10);
    sweep();
    ASSERT_EQ(names().size(), 1u) << "the file being written stays";
    // Closed for writing but not yet renamed: still held.
    FileCalls calls = systemFileCalls();
    calls.rename = [](const char* from, const char* to) {
        std::filesystem::path folder = std::filesystem::path(from).parent_path();
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        removeLeftoverTemporaries(fd);
        ::close(fd);
        return ::rename(from, to);
    };
    // The calls are taken when a file is made; this one sweeps before renaming.
    ScopedFileCalls sweeping(calls);
    StagedFile swept(dir_.file("swept.txt"));
    swept.write("x", 1);
    swept.commit(SyncToDisk::No);
    file.commit(SyncToDisk::No);
    EXPECT_EQ(names(), (std::vector<std::string>{"out.txt", "swept.txt"}));
    EXPECT_EQ(TempDir::read(dir_.file("out.txt")), "every byte");
}

TEST_F(TemporaryFilesTest, CreatedFilesAreOfThePatternAndHeldUntilTheLockIsClosed) {
    TemporaryFile created = createTemporaryFile(systemFileCalls(), dir_.path().string() + "/", 0600);
    ASSERT_GE(created.fd, 0);
    EXPECT_TRUE(isTemporaryName(std::filesystem::path(created.path).filename().string()));
    ::close(created.fd);
    sweep();
    EXPECT_EQ(names().size(), 1u) << "closed for writing, still locked";
    ::close(created.lock);
    sweep();
    EXPECT_TRUE(names().empty());
}

}  // namespace
}  // namespace velloran::platform
