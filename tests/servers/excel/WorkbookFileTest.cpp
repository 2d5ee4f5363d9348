// Workbooks written by the BIFF writer, read back by xlrd.
#include "TempDir.h"
#include "Workbook.h"
#include "errors/Failure.h"
#include "WorkbookWriter.h"
#include "XlrdReader.h"

#include <gtest/gtest.h>

using velloran::workbook::CellFormat;
using velloran::workbook::Workbook;
using velloran::platform::Failure;
using velloran::workbook::biff::saveWorkbook;
using velloran::testing::TempDir;
using velloran::testing::findCell;
using velloran::testing::readWithXlrd;
using nlohmann::json;

namespace {

json savedAndRead(Workbook& workbook, bool brief = false) {
    TempDir dir;
    std::string path = dir.file("book.xls");
    saveWorkbook(workbook, path);
    return readWithXlrd(path, brief);
}

std::string repeated(const std::string& piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

}  // namespace

TEST(WorkbookFile, AnEmptyWorkbookHasOneEmptySheet) {
    Workbook workbook;
    json book = savedAndRead(workbook);
    ASSERT_EQ(book["sheets"].size(), 1u);
    EXPECT_EQ(book["sheets"][0]["name"], "Sheet1");
    EXPECT_EQ(book["sheets"][0]["rows"], 0);
    EXPECT_TRUE(book["sheets"][0]["cells"].empty());
}

TEST(WorkbookFile, TextsComeBackExactly) {
    const std::vector<std::string> texts = {
        "plain", "文档ID", "emoji 😀 and 𝄞 outside the BMP", "tab\tnew line\ncarriage\rbell\x07", "Ünïcödé Latin-1 é",
        "x"};
    Workbook workbook;
    for (std::size_t i = 0; i < texts.size(); ++i) workbook.setText(static_cast<std::uint32_t>(i), 1, texts[i]);
    workbook.setText(0, 0, "plain");  // shared with (0, 1)
    json sheet = savedAndRead(workbook)["sheets"][0];
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const json* cell = findCell(sheet, static_cast<int>(i), 1);
        ASSERT_NE(cell, nullptr) << i;
        EXPECT_EQ((*cell)[2], texts[i]);
    }
    EXPECT_EQ((*findCell(sheet, 0, 0))[2], "plain");
}

TEST(WorkbookFile, LongTextsCrossRecordBoundariesIntact) {
    // Longest cell texts, narrow and wide, and a wide text with surrogate
    // pairs placed so that a naive split would cut one in half.
    std::string narrow = repeated("abcdefghij", 3276) + "abcdefg";
    std::string wide = repeated("汉", 32767);
    std::string pairs = std::string("a").append(repeated("😀", 16383));
    Workbook workbook;
    workbook.setText(0, 0, narrow);
    workbook.setText(1, 0, wide);
    workbook.setText(2, 0, pairs);
    auto numbered = [](std::uint32_t row) { return std::to_string(row).append(repeated("数据", 1000 + row)); };
    for (std::uint32_t row = 3; row < 40; ++row) workbook.setText(row, 0, numbered(row));
    json sheet = savedAndRead(workbook)["sheets"][0];
    EXPECT_EQ((*findCell(sheet, 0, 0))[2], narrow);
    EXPECT_EQ((*findCell(sheet, 1, 0))[2], wide);
    EXPECT_EQ((*findCell(sheet, 2, 0))[2], pairs);
    for (std::uint32_t row = 3; row < 40; ++row)
        EXPECT_EQ((*findCell(sheet, static_cast<int>(row), 0))[2], numbered(row));
}

TEST(WorkbookFile, TheStringIndexPointsAtItsStrings) {
    // Narrow and wide strings of many lengths: continuation records start in
    // the middle of strings and between them, and the buckets of the index
    // hold a number of strings that no power of two divides.
    Workbook workbook;
    constexpr std::uint32_t kStrings = 3000;
    for (std::uint32_t i = 0; i < kStrings; ++i)
        workbook.setText(i, 0, (i % 3 ? repeated("数", i % 97) : repeated("ab", i % 61)) + std::to_string(i));
    TempDir dir;
    std::string path = dir.file("index.xls");
    saveWorkbook(workbook, path);
    json index = velloran::testing::runPythonOn(VELLORAN_SST_INDEX, path);
    EXPECT_EQ(index["strings"], kStrings);
    EXPECT_EQ(index["per_bucket"], 24);
    EXPECT_EQ(index["buckets"].size(), 125u);
    EXPECT_EQ(index["buckets"], index["expected"]);
}

TEST(WorkbookFile, TextFormatOnlyOnTheCellsThatGotIt) {
    Workbook workbook;
    workbook.setFormat(0, 3, CellFormat::Text);
    workbook.setText(0, 3, "2019");
    workbook.setText(0, 2, "Body");
    workbook.setFormat(4, 4, CellFormat::Text);  // formatted but never given a value
    workbook.setFormat(5, 0, CellFormat::Text);
    workbook.setFormat(5, 0, CellFormat::General);
    workbook.setText(5, 0, "general again");
    json sheet = savedAndRead(workbook)["sheets"][0];
    EXPECT_EQ((*findCell(sheet, 0, 3))[3], "@");
    EXPECT_EQ((*findCell(sheet, 0, 2))[3], "General");
    const json* blank = findCell(sheet, 4, 4);
    ASSERT_NE(blank, nullptr);
    EXPECT_TRUE((*blank)[2].is_null());
    EXPECT_EQ((*blank)[3], "@");
    EXPECT_EQ((*findCell(sheet, 5, 0))[3], "General");
}

TEST(WorkbookFile, LaterWritesToACellReplaceEarlierOnes) {
    Workbook workbook;
    workbook.setText(0, 1, "first");
    workbook.setText(0, 0, "header");
    workbook.setText(0, 1, "second");
    workbook.setText(1, 0, "emptied");
    workbook.setText(1, 0, "");
    json sheet = savedAndRead(workbook)["sheets"][0];
    EXPECT_EQ((*findCell(sheet, 0, 1))[2], "second");
    EXPECT_EQ(findCell(sheet, 1, 0), nullptr);
}

TEST(WorkbookFile, ColumnWidthsAreKeptIn256thsOfACharacter) {
    Workbook workbook;
    workbook.setText(0, 0, "x");
    workbook.setColumnWidth(0, 40);
    workbook.setColumnWidth(1, 40);
    workbook.setColumnWidth(2, 14);
    workbook.setColumnWidth(3, 8.5);
    workbook.setColumnWidth(7, 400);  // held at the widest a column can be
    json widths = savedAndRead(workbook)["sheets"][0]["widths"];
    EXPECT_EQ(widths, json({{"0", 10240}, {"1", 10240}, {"2", 3584}, {"3", 2176}, {"7", 65280}}));
}

TEST(WorkbookFile, BadTextsAndWidthsAreRefused) {
    Workbook workbook;
    EXPECT_THROW(workbook.setText(0, 0, std::string(32768, 'a')), Failure);
    EXPECT_THROW(workbook.setText(0, 0, repeated("😀", 16384)), Failure);  // 32,768 UTF-16 units
    EXPECT_THROW(workbook.setText(0, 0, "bad \xC3\x28 byte"), Failure);
    EXPECT_THROW(workbook.setText(0, 0, "overlong \xC0\xAF"), Failure);
    EXPECT_THROW(workbook.setText(0, 0, "surrogate \xED\xA0\x80"), Failure);
    EXPECT_THROW(workbook.setColumnWidth(0, -1), Failure);
    workbook.setText(0, 0, "still fine");
    EXPECT_EQ((*findCell(savedAndRead(workbook)["sheets"][0], 0, 0))[2], "still fine");
}
