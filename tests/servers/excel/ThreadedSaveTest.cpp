// The saves' second threads driven hard, for the ThreadSanitizer build to
// watch as well as for their results: the CSV writing thread given many
// small buffers and dropped mid-stream, and the .xls sheet maker running
// ahead of a file whose writes fail.
#include "AtomicFile.h"
#include "CsvOutput.h"
#include "FileSizeLimit.h"
#include "TempDir.h"
#include "Workbook.h"
#include "errors/Failure.h"
#include "WorkbookWriter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace {

using velloran::testing::FileSizeLimit;
using velloran::testing::TempDir;
using velloran::workbook::AtomicFile;
using velloran::workbook::Existing;
using velloran::workbook::Workbook;
using velloran::platform::Failure;
using velloran::workbook::csv::CsvOutput;

CsvOutput::Room put(CsvOutput::Room room, const std::string& bytes) {
    std::memcpy(room.at, bytes.data(), bytes.size());
    room.at += bytes.size();
    return room;
}

TEST(CsvOutput, ManySmallBuffersLandInOrder) {
    // Each buffer handed over with a few bytes in it: the writing thread
    // takes and gives back a buffer for every line.
    TempDir dir;
    const std::string path = dir.file("lines.csv");
    std::string expected;
    AtomicFile file(path, Existing::Replace);
    {
        CsvOutput output(file);
        CsvOutput::Room room = output.start();
        for (int line = 0; line < 20000; ++line) {
            const std::string bytes = std::to_string(line) + ",line\r\n";
            expected += bytes;
            room = output.handOver(put(room, bytes).at);
        }
        output.finish(room.at);
    }
    file.commit();
    EXPECT_TRUE(TempDir::read(path) == expected);
}

TEST(CsvOutput, AnOutputDroppedMidStreamStopsItsThreadAndSavesNothing) {
    // Dropped with full buffers still on their way to the file, as when the
    // making of the rows fails: neither a hang nor a file left behind.
    TempDir dir;
    for (int round = 0; round < 20; ++round) {
        AtomicFile file(dir.file("dropped.csv"), Existing::Replace);
        CsvOutput output(file);
        CsvOutput::Room room = output.start();
        for (int buffer = 0; buffer < 12; ++buffer) {
            std::memset(room.at, 'x', static_cast<std::size_t>(room.end - room.at));
            room = output.handOver(room.end);
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(XlsSave, AFullDiskFailsTheSaveWhileTheSheetsAreMadeAndKeepsTheOldFile) {
    // Sheets of a few MB keep the maker ahead of the file, waiting for free
    // buffers, while a file size limit (a full disk) fails the file's
    // writes; the failure must reach the caller, whichever write meets it.
    // The workbook's own temporary files are all written before it is set.
    TempDir dir;
    const std::string path = dir.file("old.xls");
    dir.write("old.xls", "the old file");
    Workbook workbook;
    for (std::uint32_t row = 0; row < 60000; ++row)
        for (std::uint32_t column = 0; column < 6; ++column) workbook.setNumber(row, column, row * 7.5 + column);
    workbook.setText(0, 0, "title");
    workbook.settledCells();
    std::string failure;
    try {
        const FileSizeLimit limit(1024 * 1024);
        velloran::workbook::biff::saveWorkbook(workbook, path);
    } catch (const Failure& e) {
        failure = e.original();
    }
    EXPECT_THAT(failure, testing::AllOf(testing::HasSubstr(path), testing::HasSubstr("File too large")));
    EXPECT_EQ(TempDir::read(path), "the old file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
