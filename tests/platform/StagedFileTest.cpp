// Files written under a temporary name and renamed into place: every byte
// arrives, any name that fits the file system works, and a failure of any
// system call leaves the folder as it was and says why.
#include "TempDir.h"
#include "files/AtomicFile.h"
#include "files/StagedFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace velloran::platform {
namespace {

using ::testing::HasSubstr;
using testing::TempDir;

// The error the calls made to fail report.
int injectedError = 0;

template <typename Result, typename... Args>
void makeFail(Result (*&call)(Args...)) {
    call = [](Args...) -> Result {
        errno = injectedError;
        return -1;
    };
}

// Writes at most three bytes a call and is interrupted before every other call.
ssize_t writeInDribbles(int fd, const void* data, std::size_t size) {
    static bool interrupt = false;
    interrupt = !interrupt;
    if (interrupt) {
        errno = EINTR;
        return -1;
    }
    return ::write(fd, data, std::min<std::size_t>(size, 3));
}

mode_t permissionsOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

mode_t currentUmask() {
    mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

class StagedFileTest : public ::testing::Test {
protected:
    std::vector<std::string> folderContents() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.path()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static void save(const std::string& target, const std::string& contents) {
        StagedFile file(target);
        file.write(contents.data(), contents.size());
        file.commit(SyncToDisk::Yes);
    }

    static std::string saveError(const std::string& target, const std::string& contents) {
        try {
            save(target, contents);
        } catch (const Failure& e) {
            return e.original();
        }
        return "no error";
    }

    TempDir dir_;
};

TEST_F(StagedFileTest, WritesEveryByteUnderTheTargetNameOnly) {
    std::string target = dir_.file("out.bin");
    std::string contents(100'000, '\0');
    for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>(i * 7);
    save(target, contents);
    EXPECT_EQ(TempDir::read(target), contents);
    save(target, "shorter");
    EXPECT_EQ(TempDir::read(target), "shorter");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"out.bin"});
}

TEST_F(StagedFileTest, AnyNameThatFitsIsSavedAndOtherFailuresNameTheReason) {
    std::string longest(255, 'n');
    save(dir_.file(longest), "fits");
    EXPECT_EQ(TempDir::read(dir_.file(longest)), "fits");

    std::string tooLong = dir_.file(std::string(256, 'n'));
    std::string error = saveError(tooLong, "does not fit");
    EXPECT_THAT(error, HasSubstr(tooLong));
    EXPECT_THAT(error, HasSubstr(std::strerror(ENAMETOOLONG)));
    EXPECT_EQ(folderContents(), std::vector<std::string>{longest});

    std::string unreachable = dir_.file("missing/out.txt");
    EXPECT_THAT(saveError(unreachable, "x"),
                HasSubstr("Cannot create the file " + unreachable + ": " + std::strerror(ENOENT)));
}

TEST_F(StagedFileTest, NewFilesGetTheUsualPermissionsUnlessOthersAreAsked) {
    std::string usual = dir_.file("usual.txt");
    save(usual, "x");
    EXPECT_EQ(permissionsOf(usual), 0666 & ~currentUmask());

    std::string exact = dir_.file("exact.txt");
    StagedFile file(exact, 0640);
    file.commit(SyncToDisk::No);
    EXPECT_EQ(permissionsOf(exact), 0640u);
}

TEST_F(StagedFileTest, ShortAndInterruptedWritesAreCarriedOn) {
    FileCalls calls = systemFileCalls();
    calls.write = writeInDribbles;
    ScopedFileCalls dribbling(calls);
    save(dir_.file("slow.txt"), "written a few bytes at a time");
    EXPECT_EQ(TempDir::read(dir_.file("slow.txt")), "written a few bytes at a time");
}

TEST_F(StagedFileTest, AFileDroppedBeforeCommitLeavesNothing) {
    {
        StagedFile file(dir_.file("dropped.txt"));
        file.write("abc", 3);
        ASSERT_EQ(folderContents().size(), 1u);
        EXPECT_THAT(folderContents()[0], ::testing::StartsWith(".velloran-"));
    }
    EXPECT_TRUE(folderContents().empty());
}

struct Fault {
    const char* call;
    int error;
    void (*inject)(FileCalls&);
};

// Closes the descriptor all the same, as the system does when close fails.
int failClose(int fd) {
    ::close(fd);
    errno = injectedError;
    return -1;
}

TEST_F(StagedFileTest, AFailingCallNamesTheFileAndReasonAndLeavesTheOldFile) {
    const Fault faults[] = {
        {"open", ENAMETOOLONG, [](FileCalls& c) { makeFail(c.open); }},
        {"open", EACCES, [](FileCalls& c) { makeFail(c.open); }},
        {"write", ENOSPC, [](FileCalls& c) { makeFail(c.write); }},
        {"fsync", EIO, [](FileCalls& c) { makeFail(c.fsync); }},
        {"close", EIO, [](FileCalls& c) { c.close = failClose; }},
        {"rename", EIO, [](FileCalls& c) { makeFail(c.rename); }},
    };
    std::string target = dir_.write("kept.txt", "the old contents");
    for (const Fault& fault : faults) {
        SCOPED_TRACE(std::string(fault.call) + " fails with " + std::strerror(fault.error));
        injectedError = fault.error;
        FileCalls calls = systemFileCalls();
        fault.inject(calls);
        ScopedFileCalls failing(calls);
        std::string error = saveError(target, "new contents");
        EXPECT_THAT(error, HasSubstr(target));
        EXPECT_THAT(error, HasSubstr(std::strerror(fault.error)));
        EXPECT_EQ(TempDir::read(target), "the old contents");
        EXPECT_EQ(folderContents(), std::vector<std::string>{"kept.txt"});
    }
}

// Fails for folders only: the flush of the folder after the rename.
int failFolderSync(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        errno = injectedError;
        return -1;
    }
    return ::fsync(fd);
}

// Fails the open of the folder for its flush, and nothing else.
int failFolderOpen(const char* path, int flags, mode_t mode) {
    if (flags & O_DIRECTORY) {
        errno = injectedError;
        return -1;
    }
    return ::open(path, flags, mode);
}

struct StepFault {
    const char* step;
    AtTarget atTarget;
    void (*inject)(FileCalls&);
};

TEST_F(StagedFileTest, AFailureAtEveryStepLeavesNoTemporaryAndNamesTheFile) {
    const StepFault faults[] = {
        {"open", AtTarget::Keep, [](FileCalls& c) { makeFail(c.open); }},
        {"write", AtTarget::Keep, [](FileCalls& c) { makeFail(c.write); }},
        {"fsync", AtTarget::Keep, [](FileCalls& c) { makeFail(c.fsync); }},
        {"rename over", AtTarget::Replace, [](FileCalls& c) { makeFail(c.rename); }},
        {"rename to a new name", AtTarget::Keep, [](FileCalls& c) { makeFail(c.renameNoReplace); }},
        {"open the folder", AtTarget::Replace, [](FileCalls& c) { c.open = failFolderOpen; }},
        {"fsync the folder", AtTarget::Keep, [](FileCalls& c) { c.fsync = failFolderSync; }},
    };
    injectedError = EIO;
    for (const StepFault& fault : faults) {
        SCOPED_TRACE(fault.step);
        const std::string target = dir_.file(std::string(fault.step) + ".txt");
        FileCalls calls = systemFileCalls();
        fault.inject(calls);
        std::string error = "no error";
        try {
            ScopedFileCalls failing(calls);
            StagedFile file(target, std::nullopt, fault.atTarget);
            file.write("x", 1);
            file.commit(SyncToDisk::Yes);
        } catch (const Failure& e) {
            error = e.original();
        }
        EXPECT_THAT(error, HasSubstr(target));
        EXPECT_THAT(error, HasSubstr(std::strerror(EIO)));
        for (const std::string& name : folderContents()) EXPECT_FALSE(name.starts_with(".velloran-")) << name;
    }
}

TEST_F(StagedFileTest, ANewNameIsNeverTakenFromAFileThatGotItMeanwhile) {
    const std::string target = dir_.file("names.nsf");
    StagedFile earlier(target, std::nullopt, AtTarget::Keep);
    StagedFile later(target, std::nullopt, AtTarget::Keep);
    earlier.write("earlier", 7);
    later.write("later", 5);
    earlier.commit(SyncToDisk::Yes);
    try {
        later.commit(SyncToDisk::Yes);
        ADD_FAILURE() << "the later file replaced the earlier";
    } catch (const Failure& e) {
        EXPECT_EQ(e.error(), EEXIST);
        EXPECT_THAT(e.original(), HasSubstr(target + ": a file of that name was made meanwhile, and is kept"));
    }
    EXPECT_EQ(TempDir::read(target), "earlier");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"names.nsf"});
}

// The owner and group the staged file was given, as root.
uid_t givenOwner = 0;
gid_t givenGroup = 0;
int fchownCalls = 0;

TEST_F(StagedFileTest, ReplacingKeepsThePermissionsAndAsRootTheOwner) {
    struct Case {
        const char* who;
        uid_t (*euid)();
        int fchowns;
    };
    const Case cases[] = {
        {"a user", [] { return uid_t{1000}; }, 0},
        {"root", [] { return uid_t{0}; }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.who);
        const std::string target = dir_.write("hive.reg", "old");
        ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
        struct stat old {};
        ASSERT_EQ(::stat(target.c_str(), &old), 0);
        fchownCalls = 0;
        FileCalls calls = systemFileCalls();
        calls.geteuid = c.euid;
        calls.fchown = [](int, uid_t owner, gid_t group) {
            ++fchownCalls;
            givenOwner = owner;
            givenGroup = group;
            return 0;
        };
        ScopedFileCalls recording(calls);
        StagedFile file(target, 0600);
        file.write("new", 3);
        file.commit(SyncToDisk::Yes);
        EXPECT_EQ(TempDir::read(target), "new");
        EXPECT_EQ(permissionsOf(target), 0604u);
        EXPECT_EQ(fchownCalls, c.fchowns);
        if (c.fchowns == 1) {
            EXPECT_EQ(givenOwner, old.st_uid);
            EXPECT_EQ(givenGroup, old.st_gid);
        }
    }
}

TEST_F(StagedFileTest, ATemporaryFileThatCannotBeRemovedIsNamed) {
    injectedError = EPERM;
    FileCalls calls = systemFileCalls();
    makeFail(calls.rename);
    makeFail(calls.unlink);
    std::string error;
    {
        ScopedFileCalls failing(calls);
        error = saveError(dir_.file("out.txt"), "x");
    }
    std::vector<std::string> left = folderContents();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_THAT(left[0], ::testing::StartsWith(".velloran-"));
    EXPECT_THAT(error, HasSubstr("its temporary file " + dir_.file(left[0]) + " could not be removed"));
}

TEST_F(StagedFileTest, AtomicWritesKeepTheReplacedFilesPermissionsAndSurviveFailures) {
    std::string target = dir_.write("settings.ini", "old");
    std::filesystem::permissions(target, std::filesystem::perms(0604));
    writeFileAtomically(target, "new", 0600);
    EXPECT_EQ(TempDir::read(target), "new");
    EXPECT_EQ(permissionsOf(target), 0604u);

    injectedError = ENOSPC;
    FileCalls calls = systemFileCalls();
    makeFail(calls.write);
    ScopedFileCalls failing(calls);
    EXPECT_THROW(writeFileAtomically(target, "newer"), Failure);
    EXPECT_EQ(TempDir::read(target), "new");
    EXPECT_EQ(folderContents(), std::vector<std::string>{"settings.ini"});
}

}  // namespace
}  // namespace velloran::platform
