// Workbooks whose cells and texts go to temporary files as they are
// written: memory that does not grow with the rows, files that read back as
// if everything had stayed in memory, writes into rows already spilled, and
// a temporary store that fails.
#include "CellGrid.h"
#include "QueuedWorkbook.h"
#include "FileSizeLimit.h"
#include "ScopedEnv.h"
#include "TempDir.h"
#include "Workbook.h"
#include "errors/Failure.h"
#include "WorkbookWriter.h"
#include "XlrdReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

using velloran::workbook::CellFormat;
using velloran::workbook::Cell;
using velloran::workbook::CellGrid;
using velloran::workbook::QueuedWorkbook;
using velloran::workbook::Workbook;
using velloran::platform::Failure;
using velloran::workbook::biff::saveWorkbook;
using velloran::testing::FileSizeLimit;
using velloran::testing::ScopedEnv;
using velloran::testing::TempDir;
using velloran::testing::findCell;
using velloran::testing::readWithXlrd;
using nlohmann::json;

namespace {

// Cells held before spilling, small enough that a few hundred rows spill.
constexpr std::size_t kFewCells = 256;

std::string itemText(std::uint32_t row, std::uint32_t column) {
    if (column % 5 == 4) return row % 3 ? "Memo" : "回复";  // repeated all through the sheet
    return "Document " + std::to_string(row) + " item " + std::to_string(column);
}

void fillRows(Workbook& workbook, std::uint32_t from, std::uint32_t to, std::uint32_t columns) {
    for (std::uint32_t row = from; row < to; ++row)
        for (std::uint32_t column = 0; column < columns; ++column)
            workbook.setText(row, column, row % 11 == 3 && column == 2 ? std::string() : itemText(row, column));
}

// What the export and its callers do besides writing rows in order: a
// header set after the rows, rewrites and emptyings of early rows, the text
// format on cells long written, and a row past the first sheet.
void writeOutOfOrder(Workbook& workbook) {
    for (std::uint32_t column = 0; column < 6; ++column) workbook.setText(0, column, "标题 " + std::to_string(column));
    workbook.setText(5, 1, "rewritten once");
    workbook.setText(5, 1, "rewritten twice");
    workbook.setText(9, 0, "");
    workbook.setFormat(12, 3, CellFormat::Text);
    workbook.setFormat(14, 7, CellFormat::Text);  // a cell never given a text
    workbook.setText(70000, 1, "past the first sheet");
}

json savedAndRead(Workbook& workbook) {
    TempDir dir;
    saveWorkbook(workbook, dir.file("book.xls"));
    return readWithXlrd(dir.file("book.xls"));
}

}  // namespace

TEST(WorkbookSpill, MemoryHeldDoesNotGrowWithTheRows) {
    // Mostly different texts, some repeated, in row order: after the first
    // few thousand rows what stays in memory is the same however many follow.
    // Buffers fill and empty, so the most held over a stretch is compared.
    Workbook workbook(4096);
    auto mostHeld = [&](std::uint32_t from, std::uint32_t to) {
        std::size_t most = 0;
        for (std::uint32_t row = from; row < to; row += 500) {
            fillRows(workbook, row, row + 500, 10);
            most = std::max(most, workbook.heldBytes());
        }
        return most;
    };
    std::size_t early = mostHeld(0, 20000);
    std::size_t late = mostHeld(20000, 80000);
    EXPECT_LE(late, early + 16 * 1024);
    EXPECT_LT(late, 1024u * 1024);
}

TEST(WorkbookSpill, SpilledWorkbooksReadBackLikeOnesHeldInMemory) {
    // The same writes into a workbook that spills after a few cells and one
    // that holds every cell: xlrd must see the same sheets, cells, texts and
    // formats, including the out-of-order writes into rows long spilled.
    Workbook spilled(kFewCells), held(std::size_t{1} << 30);
    for (Workbook* workbook : {&spilled, &held}) {
        fillRows(*workbook, 0, 3000, 9);
        writeOutOfOrder(*workbook);
        workbook->setColumnWidth(2, 30);
    }
    json fromSpilled = savedAndRead(spilled);
    EXPECT_EQ(fromSpilled, savedAndRead(held));

    json first = fromSpilled["sheets"][0];
    ASSERT_EQ(fromSpilled["sheets"].size(), 2u);
    EXPECT_EQ((*findCell(first, 0, 0))[2], "标题 0");
    EXPECT_EQ((*findCell(first, 5, 1))[2], "rewritten twice");
    EXPECT_EQ(findCell(first, 9, 0), nullptr);
    EXPECT_EQ((*findCell(first, 12, 3))[3], "@");
    EXPECT_EQ((*findCell(first, 2999, 8))[2], itemText(2999, 8));
    json second = fromSpilled["sheets"][1];
    EXPECT_EQ((*findCell(second, 0, 0))[2], "标题 0");  // the header repeated from the spilled first row
    EXPECT_EQ((*findCell(second, 70000 - 65536 + 1, 1))[2], "past the first sheet");
}

TEST(WorkbookSpill, RunsHoldWholeRowsEvenWhenARowOutgrowsTheBuffer) {
    // A row of 100,000 cells among narrow ones, all spilled: every run ends
    // with a whole row, and the cells come back in order, each once.
    CellGrid grid(64);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> written;
    for (std::uint32_t row = 0; row < 400; ++row) {
        std::uint32_t columns = row == 150 ? 100000 : 3;
        for (std::uint32_t column = 0; column < columns; ++column) {
            grid.setValue(row, column, row);
            written.emplace_back(row, column);
        }
    }
    grid.settle();
    std::vector<std::pair<std::uint32_t, std::uint32_t>> read;
    std::optional<std::uint32_t> lastRowOfRun;
    grid.forEachRun(0, UINT32_MAX, [&](std::span<const Cell> run) {
        EXPECT_NE(run.front().row(), lastRowOfRun) << "a row split over two runs";
        lastRowOfRun = run.back().row();
        for (const Cell& cell : run) read.emplace_back(cell.row(), cell.column());
    });
    EXPECT_EQ(read, written);

    std::size_t inRange = 0;
    grid.forEachRun(149, 151, [&](std::span<const Cell> run) { inRange += run.size(); });
    EXPECT_EQ(inRange, 100006u);
}

TEST(WorkbookSpill, AMissingTemporaryFolderFailsTheSaveAndLeavesNothing) {
    TempDir dir;
    ScopedEnv tmpdir("TMPDIR", dir.file("no such folder"));
    QueuedWorkbook workbook;
    // The worker meets the failure while it applies the writes: it comes out
    // of the next write or of the save, whichever comes first.
    try {
        for (std::uint32_t row = 0; row < 40000; ++row) workbook.setText(row, 0, "Document " + std::to_string(row));
        saveWorkbook(workbook.applied(), dir.file("book.xls"));
        FAIL() << "saved without its temporary files";
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("no such folder"), std::string::npos) << e.what();
        EXPECT_TRUE(e.is(Failure::Kind::Workbook));
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST(WorkbookSpill, AFullTemporaryStoreIsReportedByTheWrite) {
    // A file size limit stands in for a full disk: the spill that passes it
    // fails with the reason, and the workbook is not saved.
    TempDir dir;
    ScopedEnv tmpdir("TMPDIR", dir.path().string());
    std::string failure;
    Workbook workbook;
    try {
        const FileSizeLimit limit(512 * 1024);
        for (std::uint32_t row = 0; row < 100000 && failure.empty(); ++row)
            workbook.setText(row, 0, "Document " + std::to_string(row) + " item 0");
    } catch (const Failure& e) {
        failure = e.original();
    }
    EXPECT_NE(failure.find("temporary folder"), std::string::npos) << failure;
    EXPECT_NE(failure.find("too large"), std::string::npos) << failure;
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}
