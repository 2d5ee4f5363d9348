// Grids larger than one sheet, large files, and how a save replaces a file.
#include "TempDir.h"
#include "Workbook.h"
#include "errors/Failure.h"
#include "WorkbookWriter.h"
#include "XlrdReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using velloran::workbook::CellFormat;
using velloran::workbook::Workbook;
using velloran::platform::Failure;
using velloran::workbook::biff::saveWorkbook;
using velloran::testing::TempDir;
using velloran::testing::findCell;
using velloran::testing::readWithXlrd;
using nlohmann::json;
using ::testing::HasSubstr;

namespace {

std::string textAt(const json& sheet, int row, int column) {
    const json* cell = findCell(sheet, row, column);
    return cell && (*cell)[2].is_string() ? (*cell)[2].get<std::string>() : std::string("<none>");
}

std::string labelled(const char* prefix, std::uint32_t number) {
    return std::string(prefix).append(std::to_string(number));
}

std::vector<std::string> namesOf(const json& book) {
    std::vector<std::string> names;
    for (const json& sheet : book["sheets"]) names.push_back(sheet["name"]);
    return names;
}

std::vector<std::string> filesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(SheetBlocks, RowsPastTheFirstSheetContinueWithTheHeaderRepeated) {
    Workbook workbook;
    workbook.setText(0, 0, "header");
    workbook.setText(0, 1, "second header");
    for (std::uint32_t row = 1; row < 70000; ++row) workbook.setText(row, 0, labelled("row ", row + 1));
    TempDir dir;
    saveWorkbook(workbook, dir.file("rows.xls"));
    json book = readWithXlrd(dir.file("rows.xls"));

    EXPECT_EQ(namesOf(book), (std::vector<std::string>{"Sheet1", "Rows 65537-131071"}));
    const json& first = book["sheets"][0];
    const json& second = book["sheets"][1];
    EXPECT_EQ(first["rows"], 65536);
    EXPECT_EQ(textAt(first, 65535, 0), "row 65536");
    EXPECT_EQ(second["rows"], 1 + 70000 - 65536);
    EXPECT_EQ(textAt(second, 0, 0), "header");
    EXPECT_EQ(textAt(second, 0, 1), "second header");
    EXPECT_EQ(textAt(second, 1, 0), "row 65537");
    EXPECT_EQ(textAt(second, 4464, 0), "row 70000");
}

TEST(SheetBlocks, ColumnsPastTheFirstSheetContinueWithColumnOneRepeated) {
    Workbook workbook;
    for (std::uint32_t column = 0; column < 600; ++column) {
        workbook.setText(0, column, labelled("h", column + 1));
        workbook.setText(1, column, labelled("v", column + 1));
    }
    workbook.setFormat(0, 300, CellFormat::Text);
    workbook.setColumnWidth(0, 40);
    workbook.setColumnWidth(300, 20);
    workbook.setText(70000, 300, "far corner");
    TempDir dir;
    saveWorkbook(workbook, dir.file("columns.xls"));
    json book = readWithXlrd(dir.file("columns.xls"));

    EXPECT_EQ(namesOf(book), (std::vector<std::string>{"Sheet1", "Columns 257-511", "Columns 512-766",
                                                       "R65537-131071 C257-511"}));
    const json& second = book["sheets"][1];
    EXPECT_EQ(book["sheets"][0]["columns"], 256);
    EXPECT_EQ(textAt(second, 0, 0), "h1");
    EXPECT_EQ(textAt(second, 1, 0), "v1");
    EXPECT_EQ(textAt(second, 0, 1), "h257");
    EXPECT_EQ(textAt(second, 1, 255), "v511");
    EXPECT_EQ((*findCell(second, 0, 45))[3], "@");  // column 301 keeps its text format
    EXPECT_EQ(second["widths"], json({{"0", 10240}, {"45", 5120}}));
    const json& third = book["sheets"][2];
    EXPECT_EQ(third["columns"], 1 + 600 - 511);
    EXPECT_EQ(textAt(third, 1, 89), "v600");
    const json& corner = book["sheets"][3];
    EXPECT_EQ(textAt(corner, 0, 0), "h1");
    EXPECT_EQ(textAt(corner, 0, 45), "h301");
    EXPECT_EQ(textAt(corner, 70000 - 65536 + 1, 45), "far corner");
}

TEST(SheetBlocks, AFileOfFiftyMegabytesReadsBack) {
    // Past about 7 MB the container needs its extra allocation sectors.
    constexpr int kCells = 2000;
    auto textOf = [](int i) { return std::to_string(i).append(25000, static_cast<char>('a' + i % 26)); };
    Workbook workbook;
    for (int i = 0; i < kCells; ++i) workbook.setText(static_cast<std::uint32_t>(i / 4), i % 4, textOf(i));
    TempDir dir;
    std::string file = dir.file("big.xls");
    saveWorkbook(workbook, file);
    EXPECT_GT(std::filesystem::file_size(file), 50'000'000u);

    json sheet = readWithXlrd(file, true)["sheets"][0];
    ASSERT_EQ(sheet["cells"].size(), static_cast<std::size_t>(kCells));
    for (int i : {0, 1, 777, kCells - 1}) {
        std::string expected = textOf(i);
        const json& cell = *findCell(sheet, i / 4, i % 4);
        EXPECT_EQ(cell[2][0], expected.size());
        EXPECT_EQ(cell[2][1], expected.substr(0, 16));
        EXPECT_EQ(cell[2][2], expected.substr(expected.size() - 16));
    }
}

TEST(AtomicSave, ReplacesAnExistingFileAndLeavesNothingElse) {
    TempDir dir;
    std::string file = dir.write("book.xls", "an older file");
    Workbook workbook;
    workbook.setText(0, 0, "new");
    saveWorkbook(workbook, file);
    EXPECT_EQ(textAt(readWithXlrd(file)["sheets"][0], 0, 0), "new");
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"book.xls"});
}

TEST(AtomicSave, ATargetThatCannotBeWrittenIsAnErrorNamingIt) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("taken.xls"));
    Workbook workbook;
    workbook.setText(0, 0, "x");
    try {
        saveWorkbook(workbook, dir.file("taken.xls"));
        FAIL() << "expected Failure";
    } catch (const Failure& e) {
        EXPECT_THAT(e.what(), HasSubstr(dir.file("taken.xls")));
    }
    EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"taken.xls"});
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken.xls")));

    try {
        saveWorkbook(workbook, dir.file("missing/book.xls"));
        FAIL() << "expected Failure";
    } catch (const Failure& e) {
        EXPECT_THAT(e.original(), HasSubstr("does not exist"));
    }
}
