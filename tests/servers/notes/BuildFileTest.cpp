// The hidden file a new database is built in, against other processes:
// a sweep of leftovers keeps it, a second build of the same new name does
// not replace the first, a signal that ends the builder removes it and its
// journal, and a replaced database keeps its permissions.
#include "TempDir.h"
#include "files/FileCalls.h"
#include "files/LiveTemporaries.h"
#include "files/TemporaryFiles.h"
#include "store/EngineError.h"
#include "store/Sqlite.h"
#include "write/DatabaseWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velloran::notes::write {
namespace {

using testing::TempDir;

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

NoteInput noteSaying(const std::string& subject) { return {{}, 0, 0, {{"Subject", kText, 0, {subject}, {}}}, {}}; }

std::string titleOf(const std::string& database) {
    store::Connection connection(database, store::Connection::Mode::ReadOnly);
    store::Statement title = connection.cached("SELECT value FROM database_info WHERE key = 'title'");
    return title.step() ? title.text(0) : std::string();
}

void sweep(const TempDir& dir) {
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    EXPECT_THAT(platform::removeLeftoverTemporaries(folder), ::testing::IsEmpty());
    ::close(folder);
}

TEST(BuildFileTest, ASweepOfLeftoversKeepsADatabaseUnderConstruction) {
    TempDir dir;
    DatabaseWriter writer(dir.file("new.nsf"));
    writer.addNote(noteSaying("first"));
    sweep(dir);
    writer.addNote(noteSaying("second"));
    writer.setTitle("Built whole");
    writer.commit();
    EXPECT_EQ(titleOf(dir.file("new.nsf")), "Built whole");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"new.nsf"});
}

TEST(BuildFileTest, OfTwoBuildsOfTheSameNewNameTheLaterIsRefused) {
    TempDir dir;
    const std::string target = dir.file("names.nsf");
    for (const DatabaseWriter::Existing existing : {DatabaseWriter::Existing::Add, DatabaseWriter::Existing::Replace}) {
        std::filesystem::remove(target);
        DatabaseWriter earlier(target, 0600, existing);
        DatabaseWriter later(target, 0600, existing);
        earlier.setTitle("earlier");
        later.setTitle("later");
        earlier.commit();
        try {
            later.commit();
            ADD_FAILURE() << "the later build replaced the earlier";
        } catch (const Failure& e) {
            EXPECT_THAT(e.original(), ::testing::HasSubstr(target));
            EXPECT_THAT(e.original(), ::testing::HasSubstr("a file of that name was made meanwhile"));
        }
        EXPECT_EQ(titleOf(target), "earlier");
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"names.nsf"}) << "the later build file is removed";
    }
}

TEST(BuildFileTest, AReplacedDatabaseKeepsItsPermissions) {
    TempDir dir;
    const std::string target = dir.file("shared.nsf");
    DatabaseWriter(target, 0640).commit();
    ASSERT_EQ(::chmod(target.c_str(), 0604), 0);
    DatabaseWriter replacing(target, 0600, DatabaseWriter::Existing::Replace);
    replacing.setTitle("replaced");
    replacing.commit();
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(titleOf(target), "replaced");
}

int failWithEio() {
    errno = EIO;
    return -1;
}

struct Step {
    const char* name;
    void (*inject)(platform::FileCalls&);
};

TEST(BuildFileTest, AFailingStepNamesTheDatabaseAndLeavesNothingBehind) {
    const Step steps[] = {
        {"create", [](platform::FileCalls& c) { c.open = [](const char*, int, mode_t) { return failWithEio(); }; }},
        {"flush", [](platform::FileCalls& c) { c.fsync = [](int) { return failWithEio(); }; }},
        {"name", [](platform::FileCalls& c) { c.renameNoReplace = [](const char*, const char*) { return failWithEio(); }; }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        TempDir dir;
        const std::string target = dir.file("imported.nsf");
        platform::FileCalls calls = platform::systemFileCalls();
        step.inject(calls);
        platform::ScopedFileCalls failing(calls);
        try {
            DatabaseWriter writer(target);
            writer.addNote(noteSaying("lost"));
            writer.commit();
            ADD_FAILURE() << "the failure went unreported";
        } catch (const Failure& e) {
            EXPECT_THAT(e.original(), ::testing::HasSubstr(target));
            EXPECT_THAT(e.original(), ::testing::HasSubstr(std::strerror(EIO)));
        }
        EXPECT_THAT(namesIn(dir.path()), ::testing::IsEmpty());
    }
}

// A child process that builds a database, says so through a pipe, and
// waits (for a signal) on another that is never written.
pid_t startBuilding(const std::string& target, int& ready) {
    int said[2], never[2];
    if (::pipe(said) != 0 || ::pipe(never) != 0) return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(said[0]);
        ::close(never[1]);
        platform::removeTemporariesOnTermination();
        DatabaseWriter writer(target);
        writer.addNote(noteSaying("under way"));
        char building = 'b';
        [[maybe_unused]] ssize_t told = ::write(said[1], &building, 1);
        char nothing;
        [[maybe_unused]] ssize_t read = ::read(never[0], &nothing, 1);
        ::_exit(0);
    }
    ::close(said[1]);
    ::close(never[0]);
    ready = said[0];
    return child;
}

TEST(BuildFileTest, ASignalThatEndsTheBuilderRemovesTheBuildFileAndItsJournal) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        TempDir dir;
        int ready = -1;
        const pid_t child = startBuilding(dir.file("imported.nsf"), ready);
        ASSERT_GT(child, 0);
        char said = 0;
        ASSERT_EQ(::read(ready, &said, 1), 1) << "the child built nothing";
        ::close(ready);
        const std::vector<std::string> during = namesIn(dir.path());
        EXPECT_EQ(during.size(), 2u) << "the build file and its journal";
        for (const std::string& name : during) EXPECT_TRUE(name.starts_with(".velloran-")) << name;

        ASSERT_EQ(::kill(child, signal), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "ended by the signal, as without the handler";
        EXPECT_THAT(namesIn(dir.path()), ::testing::IsEmpty());
    }
}

}  // namespace
}  // namespace velloran::notes::write
