// A save that never replaces a file: one that takes the name before the
// save ends is kept, and the workbook goes beside it under a numbered name.
#include "AtomicFile.h"
#include "TempDir.h"
#include "Workbook.h"
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
    EXPECT_EQ(saveWorkbook(workbook, dir.file("book.xls"), Existing::KeepAndNumber), dir.file("book.xls"));
    EXPECT_EQ(firstText(dir.file("book.xls")), "mine");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"book.xls"});
}

TEST(NoReplaceSave, TakenNamesAreKeptAndTheWorkbookGoesBesideThem) {
    TempDir dir;
    dir.write("book.xls", "theirs");
    dir.write("book (2).xls", "theirs too");
    const std::string victim = dir.write("victim.txt", "linked to");
    std::filesystem::create_symlink(victim, dir.file("book (3).xls"));
    Saying workbook("mine");

    EXPECT_EQ(saveWorkbook(workbook, dir.file("book.xls"), Existing::KeepAndNumber), dir.file("book (4).xls"));
    EXPECT_EQ(TempDir::read(dir.file("book.xls")), "theirs");
    EXPECT_EQ(TempDir::read(dir.file("book (2).xls")), "theirs too");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("book (3).xls")));
    EXPECT_EQ(TempDir::read(victim), "linked to");
    EXPECT_EQ(firstText(dir.file("book (4).xls")), "mine");
    EXPECT_EQ(namesIn(dir.path()).size(), 5u) << "no temporary file is left";
}

TEST(NoReplaceSave, AFileThatAppearsWhileTheSaveRunsIsKept) {
    TempDir dir;
    const std::string target = dir.file("book.xls");
    AtomicFile file(target, Existing::KeepAndNumber);
    std::fputs("the workbook", file.stream());
    dir.write("book.xls", "appeared meanwhile");
    EXPECT_EQ(file.commit(), dir.file("book (2).xls"));
    EXPECT_EQ(TempDir::read(target), "appeared meanwhile");
    EXPECT_EQ(TempDir::read(dir.file("book (2).xls")), "the workbook");
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
    AtomicFile file(dir.file("book.xls"), Existing::KeepAndNumber);
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
