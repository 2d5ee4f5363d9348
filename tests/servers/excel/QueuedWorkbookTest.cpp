// The workbook filled on a thread of its own: writes spread over many
// batches land in the order they were made, and bad texts are refused by
// the call that makes them.
#include "QueuedWorkbook.h"
#include "WorkbookWriter.h"
#include "TempDir.h"
#include "errors/Failure.h"
#include "XlrdReader.h"

#include <gtest/gtest.h>

#include <map>

using velloran::workbook::CellFormat;
using velloran::workbook::QueuedWorkbook;
using velloran::workbook::biff::saveWorkbook;
using velloran::platform::Failure;
using velloran::testing::TempDir;
using velloran::testing::findCell;
using velloran::testing::readWithXlrd;
using nlohmann::json;

namespace {

// The dumped cells of `sheet` by row and column.
std::map<std::pair<int, int>, json> cellsOf(const json& sheet) {
    std::map<std::pair<int, int>, json> cells;
    for (const json& cell : sheet["cells"]) cells[{cell[0].get<int>(), cell[1].get<int>()}] = cell;
    return cells;
}

std::string textOf(std::uint32_t row, std::uint32_t column, const char* round) {
    return std::string(round) + " " + std::to_string(row) + "/" + std::to_string(column) + " 数据";
}

}  // namespace

TEST(QueuedWorkbook, WritesOverManyBatchesLandInOrder) {
    // 3,000 rows of 12 cells take several batches; a second round rewrites
    // every third row, empties column 5 of every seventh row, and puts the
    // text format on the first row after its texts were written.
    constexpr std::uint32_t kRows = 3000, kColumns = 12;
    QueuedWorkbook workbook;
    for (std::uint32_t row = 0; row < kRows; ++row)
        for (std::uint32_t column = 0; column < kColumns; ++column)
            workbook.setText(row, column, textOf(row, column, "first"));
    for (std::uint32_t row = 0; row < kRows; row += 3)
        for (std::uint32_t column = 0; column < kColumns; ++column)
            workbook.setText(row, column, textOf(row, column, "second"));
    for (std::uint32_t row = 0; row < kRows; row += 7) workbook.setText(row, 5, "");
    workbook.setFormat(0, 2, CellFormat::Text);
    workbook.setColumnWidth(1, 30);

    TempDir dir;
    saveWorkbook(workbook.applied(), dir.file("book.xls"));
    json sheet = readWithXlrd(dir.file("book.xls"))["sheets"][0];
    auto cells = cellsOf(sheet);
    for (std::uint32_t row = 0; row < kRows; ++row) {
        for (std::uint32_t column = 0; column < kColumns; ++column) {
            auto cell = cells.find({static_cast<int>(row), static_cast<int>(column)});
            if (column == 5 && row % 7 == 0) {
                EXPECT_EQ(cell, cells.end()) << row;
                continue;
            }
            ASSERT_NE(cell, cells.end()) << row << "/" << column;
            EXPECT_EQ(cell->second[2], textOf(row, column, row % 3 == 0 ? "second" : "first"));
        }
    }
    EXPECT_EQ(cells.at({0, 2})[3], "@");
    EXPECT_EQ(cells.at({1, 2})[3], "General");
    EXPECT_EQ(sheet["widths"], json({{"1", 30 * 256}}));
}

TEST(QueuedWorkbook, BadTextsAreRefusedByTheirOwnCall) {
    QueuedWorkbook workbook;
    workbook.setText(0, 0, "kept");
    EXPECT_THROW(workbook.setText(0, 1, "bad \xC3\x28 byte"), Failure);
    EXPECT_THROW(workbook.setText(0, 1, std::string(32768, 'a')), Failure);
    workbook.setText(0, 2, "also kept");

    TempDir dir;
    saveWorkbook(workbook.applied(), dir.file("book.xls"));
    json sheet = readWithXlrd(dir.file("book.xls"))["sheets"][0];
    EXPECT_EQ((*findCell(sheet, 0, 0))[2], "kept");
    EXPECT_EQ(findCell(sheet, 0, 1), nullptr);
    EXPECT_EQ((*findCell(sheet, 0, 2))[2], "also kept");
}

TEST(QueuedWorkbook, AWorkbookDroppedUnsavedStopsItsWorker) {
    // Destroying a workbook with writes still queued must neither hang nor
    // leave the worker touching freed memory (the sanitizer build sees it).
    for (int round = 0; round < 20; ++round) {
        QueuedWorkbook workbook;
        for (std::uint32_t row = 0; row < 20000; ++row) workbook.setText(row, 0, "row text that fills batches");
    }
}
