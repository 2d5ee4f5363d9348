// A save that never replaces a file: one that has the name, or takes it
// before the save ends, is kept, and the save fails leaving nothing behind.
#include "AtomicFile.h"
#include "TempDir.h"
#include "Workbook.h"
#include "WorkbookError.h"
#include "WorkbookWriter.h"
#include "XlrdReader.h"
#include "files/TemporaryFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

using velloran::workbook::AtomicFile;
using velloran::workbook::Existing;
using velloran::workbook::Workbook;
using velloran::platform::Failure;
using velloran::workbook::biff::saveWorkbook;
using velloran::testing::TempDir;
using velloran::testing::readWithXlrd;

namespace {

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string firstText(const std::string& file) { return readWithXlrd(file)["sheets"][0]["cells"][0][2]; }

// A workbook whose first cell says `text`.
struct Saying : Workbook {
    explicit Saying(const std::string& text) { setText(0, 0, text); }
};

}  // namespace

TEST(NoReplaceSave, AFreeNameIsTakenAsItIs) {
    TempDir dir;
    Saying workbook("mine");
    EXPECT_EQ(saveWorkbook(workbook, dir.file("book.xls"), Existing::Keep), dir.file("book.xls"));
    EXPECT_EQ(firstText(dir.file("book.xls")), "mine");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"book.xls"});
}

// A file, and a link (even a broken one) with the name, each stays as it is.
TEST(NoReplaceSave, ATakenNameIsKeptAndTheSaveFails) {
    TempDir dir;
    const std::string victim = dir.write("victim.txt", "linked to");
    dir.write("book.xls", "theirs");
    std::filesystem::create_symlink(victim, dir.file("linked.xls"));
    std::filesystem::create_symlink(dir.file("nowhere"), dir.file("broken.xls"));
    for (const char* name : {"book.xls", "linked.xls", "broken.xls"}) {
        Saying workbook("mine");
        EXPECT_THROW(saveWorkbook(workbook, dir.file(name), Existing::Keep), Failure) << name;
    }
    EXPECT_EQ(TempDir::read(dir.file("book.xls")), "theirs");
    EXPECT_EQ(TempDir::read(victim), "linked to");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("broken.xls")));
    EXPECT_EQ(namesIn(dir.path()).size(), 4u) << "no temporary file is left";
}

TEST(NoReplaceSave, AFileThatAppearsWhileTheSaveRunsIsKept) {
    TempDir dir;
    const std::string target = dir.file("book.xls");
    AtomicFile file(target, Existing::Keep);
    std::fputs("the workbook", file.stream());
    dir.write("book.xls", "appeared meanwhile");
    EXPECT_THROW(file.commit(), Failure);
    EXPECT_EQ(TempDir::read(target), "appeared meanwhile");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"book.xls"});
}

TEST(NoReplaceSave, ReplacingStaysTheDefault) {
    TempDir dir;
    dir.write("book.xls", "older");
    Saying workbook("newer");
    EXPECT_EQ(saveWorkbook(workbook, dir.file("book.xls")), dir.file("book.xls"));
    EXPECT_EQ(firstText(dir.file("book.xls")), "newer");
}

TEST(NoReplaceSave, TheTemporaryWorkbookIsOursAndHeldUntilItIsInPlace) {
    TempDir dir;
    AtomicFile file(dir.file("book.xls"), Existing::Keep);
    std::fputs("the workbook", file.stream());
    const std::vector<std::string> during = namesIn(dir.path());
    ASSERT_EQ(during.size(), 1u);
    EXPECT_TRUE(velloran::platform::isTemporaryName(during[0])) << during[0];

    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    velloran::platform::removeLeftoverTemporaries(folder);
    ::close(folder);
    EXPECT_EQ(namesIn(dir.path()), during) << "a save under way is no leftover";
    file.commit();
    EXPECT_EQ(TempDir::read(dir.file("book.xls")), "the workbook");
}
