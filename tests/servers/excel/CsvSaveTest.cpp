// The CSV save's own ways: a field quoted only when it must be, at any
// length and place of the character that asks for it; rows as wide as the
// cells left after late writes; and a file that cannot be written.
#include "CsvWriter.h"
#include "FileSizeLimit.h"
#include "TempDir.h"
#include "Workbook.h"
#include "errors/Failure.h"
#include "XlrdReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

using velloran::testing::FileSizeLimit;
using velloran::testing::TempDir;
using velloran::testing::runPythonOn;
using velloran::workbook::CellFormat;
using velloran::workbook::Workbook;
using velloran::platform::Failure;
using velloran::workbook::csv::saveWorkbook;
using nlohmann::json;

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(CsvSave, FieldsAreQuotedJustWhenACharacterAsksForIt) {
    // Texts of 1 to 40 bytes, read eight at a time with an overlapping
    // last word: one plain, and one with each special or non-ASCII
    // character at every place.
    const std::string kAsking[] = {",", "\"", "\r", "\n", "é"};
    TempDir dir;
    Workbook workbook;
    json expected = json::array();
    std::size_t quotes = 0;
    std::uint32_t row = 0;
    auto add = [&](const std::string& text) {
        workbook.setText(row, 0, text);
        expected.push_back({row++, 0, text});
        if (text.find_first_of(",\"\r\n") == std::string::npos) return;
        quotes += 2 + static_cast<std::size_t>(std::count(text.begin(), text.end(), '"')) * 2;
    };
    for (std::size_t length = 1; length <= 40; ++length) {
        add(std::string(length, 'x'));
        for (const std::string& asking : kAsking)
            for (std::size_t at = 0; at < length; ++at)
                add(std::string(at, 'x') + asking + std::string(length - at - 1, 'x'));
    }
    const std::string path = dir.file("quoted.csv");
    saveWorkbook(workbook, path);
    EXPECT_EQ(runPythonOn(VELLORAN_CSV_DUMP, path, "")["cells"], expected);
    const std::string bytes = fileBytes(path);
    EXPECT_EQ(static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '"')), quotes);
}

TEST(CsvSave, RowsAreAsWideAsTheCellsLeftAfterLateWrites) {
    TempDir dir;
    Workbook workbook(64);  // rows spill after a few dozen cells
    for (std::uint32_t row = 0; row < 1000; ++row)
        for (std::uint32_t column = 0; column < 3; ++column) workbook.setText(row, column, "cell");
    workbook.setText(10, 7, "far, then emptied");
    workbook.setFormat(20, 9, CellFormat::Text);
    for (std::uint32_t row = 1000; row < 2000; ++row) workbook.setText(row, 0, "more");
    workbook.setText(10, 7, "");
    workbook.setFormat(20, 9, CellFormat::General);
    workbook.setText(5, 4, "late");
    const std::string path = dir.file("late.csv");
    saveWorkbook(workbook, path);
    json read = runPythonOn(VELLORAN_CSV_DUMP, path, "");
    EXPECT_EQ(read["rows"], 2000);
    EXPECT_EQ(read["fields"], json::parse("[5]"));
    EXPECT_EQ(read["cells"][5 * 3 + 3], json::parse(R"([5, 4, "late"])"));
}

TEST(CsvSave, AFileThatCannotBeWrittenFailsTheSaveAndKeepsTheOldOne) {
    // A file size limit stands in for a full disk; the workbook's own
    // temporary files are all written before it is set.
    TempDir dir;
    const std::string path = dir.file("old.csv");
    { std::ofstream(path) << "the old file"; }
    Workbook workbook;
    for (std::uint32_t row = 0; row < 100000; ++row) workbook.setText(row, 0, "Document " + std::to_string(row));
    workbook.settledCells();
    std::string failure;
    try {
        const FileSizeLimit limit(256 * 1024);
        saveWorkbook(workbook, path);
    } catch (const Failure& e) {
        failure = e.original();
    }
    EXPECT_THAT(failure, testing::HasSubstr("Cannot save the workbook as " + path));
    EXPECT_EQ(fileBytes(path), "the old file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
