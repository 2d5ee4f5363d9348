// Each file format read back by a reader we did not write: xlrd for .xls,
// openpyxl for .xlsx, Python's csv module for CSV.
#include "PinnedCalls.h"
#include "SstPlacement.h"
#include "TempDir.h"
#include "Workbook.h"
#include "errors/Failure.h"
#include "WorkbookFiles.h"
#include "XlrdReader.h"
#include "files/FileCalls.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sodium.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using velloran::platform::FileCalls;
using velloran::platform::ScopedFileCalls;
using velloran::platform::systemFileCalls;
using velloran::testing::TempDir;
using velloran::testing::readWithXlrd;
using velloran::testing::runPythonOn;
using velloran::workbook::CellFormat;
using velloran::workbook::FileFormat;
using velloran::workbook::Workbook;
using velloran::platform::Failure;
using velloran::workbook::saveWorkbook;
using testing::HasSubstr;

const FileFormat kFormats[] = {FileFormat::Xls, FileFormat::Xlsx, FileFormat::Csv};

std::string fileName(FileFormat format) {
    static const char* kNames[] = {"book.xls", "book.xlsx", "book.csv"};
    return kNames[static_cast<int>(format)];
}

nlohmann::json readBack(FileFormat format, const std::string& path, bool brief = false) {
    const char* options = brief ? " --brief" : "";
    if (format == FileFormat::Xls) return readWithXlrd(path, brief);
    return runPythonOn(format == FileFormat::Xlsx ? VELLORAN_XLSX_DUMP : VELLORAN_CSV_DUMP, path, options);
}

std::pair<int, int> at(int row, int column) { return {row, column}; }

// The cells of the first sheet (of the table for CSV) as (row, column) -> value.
std::map<std::pair<int, int>, nlohmann::json> valuesOf(const nlohmann::json& cells) {
    std::map<std::pair<int, int>, nlohmann::json> values;
    for (const nlohmann::json& cell : cells) values[at(cell[0].get<int>(), cell[1].get<int>())] = cell[2];
    return values;
}

const nlohmann::json& cellsOf(FileFormat format, const nlohmann::json& read, std::size_t sheet = 0) {
    return format == FileFormat::Csv ? read["cells"] : read["sheets"][sheet]["cells"];
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Control characters: .xls keeps them as they are, .xlsx writes them as
// "_xHHHH_" (which spreadsheet programs turn back), CSV keeps them.
const std::vector<std::string> kTexts = {
    "纯中文文本，标点。", "say \"hi\", \"bye\"", "a,b,c", "line1\r\nline2", "only\nLF", "only\rCR",
    "=SUM(A1:A2)",       "+1-2",              "ctl \x01\x02\x1F\x7F end",    "tab\there", "_x0041_ stays",
    "emoji 😀 𝄞",         " lead and trail ",   "\xEF\xBF\xBF non-character", std::string("nul\0inside", 10)};

TEST(FileFormats, TextsOfEveryKindComeBackInEachFormat) {
    TempDir dir;
    for (FileFormat format : kFormats) {
        Workbook workbook;
        for (std::size_t i = 0; i < kTexts.size(); ++i) workbook.setText(static_cast<std::uint32_t>(i), 1, kTexts[i]);
        std::string path = dir.file(fileName(format));
        saveWorkbook(workbook, path, format);
        auto values = valuesOf(cellsOf(format, readBack(format, path)));
        for (std::size_t i = 0; i < kTexts.size(); ++i)
            EXPECT_EQ(values[at(static_cast<int>(i), 1)], kTexts[i]) << fileName(format) << " row " << i;
        EXPECT_EQ(values.size(), kTexts.size()) << fileName(format);
    }
}

TEST(FileFormats, NumbersAndDateTimesAreTypedInEachFormat) {
    TempDir dir;
    const double numbers[] = {42, 0.1, -1.5e300, 1e-7};
    const double morning = 45322 + (8 * 3600 + 6 * 60 + 30) / 86400.0;  // 2024-01-31 08:06:30
    for (FileFormat format : kFormats) {
        Workbook workbook;
        for (std::uint32_t c = 0; c < 4; ++c) workbook.setNumber(0, c, numbers[c]);
        workbook.setFormat(1, 0, CellFormat::DateTime);
        workbook.setNumber(1, 0, morning);
        workbook.setNumber(1, 1, 61);  // from here on every format counts days alike
        workbook.setFormat(1, 1, CellFormat::DateTime);
        workbook.setFormat(2, 0, CellFormat::Date);
        workbook.setNumber(2, 0, 45352);  // 2024-03-01
        std::string path = dir.file(fileName(format));
        saveWorkbook(workbook, path, format);
        const nlohmann::json read = readBack(format, path);
        auto values = valuesOf(cellsOf(format, read));
        if (format == FileFormat::Csv) {
            EXPECT_EQ(values[at(0, 0)], "42");
            EXPECT_EQ(values[at(0, 1)], "0.1");
            EXPECT_EQ(values[at(0, 2)], "-1.5e+300");
            EXPECT_EQ(values[at(0, 3)], "1e-07");
        } else {
            for (int c = 0; c < 4; ++c) EXPECT_EQ(values[at(0, c)].get<double>(), numbers[c]) << fileName(format);
            EXPECT_EQ(cellsOf(format, read)[4][3], "yyyy-mm-dd hh:mm:ss") << fileName(format);
        }
        EXPECT_EQ(values[at(1, 0)], "2024-01-31T08:06:30") << fileName(format);
        EXPECT_EQ(values[at(1, 1)], "1900-03-01T00:00:00") << fileName(format);
        if (format == FileFormat::Csv) {
            EXPECT_EQ(values[at(2, 0)], "2024-03-01") << "a date alone, without a time";
        } else {
            EXPECT_EQ(values[at(2, 0)], "2024-03-01T00:00:00") << fileName(format);
            EXPECT_EQ(cellsOf(format, read)[6][3], "yyyy-mm-dd") << fileName(format);
        }
    }
}

TEST(FileFormats, CsvDateTimesKeepFractionsOfASecondAndFarDatesStayNumbers) {
    TempDir dir;
    Workbook workbook;
    const double dates[] = {45322.5 + 0.25 / 86400, -1.0, 3e6};
    for (std::uint32_t c = 0; c < 3; ++c) {
        workbook.setFormat(0, c, CellFormat::DateTime);
        workbook.setNumber(0, c, dates[c]);
    }
    saveWorkbook(workbook, dir.file("dates.csv"), FileFormat::Csv);
    auto values = valuesOf(readBack(FileFormat::Csv, dir.file("dates.csv"))["cells"]);
    EXPECT_EQ(values[at(0, 0)], "2024-01-31T12:00:00.250");
    EXPECT_EQ(values[at(0, 1)], "1899-12-29T00:00:00");
    EXPECT_EQ(values[at(0, 2)], "3000000") << "written out, as a spreadsheet shows it";
}

TEST(FileFormats, NonFiniteNumbersAreRefused) {
    Workbook workbook;
    EXPECT_THROW(workbook.setNumber(0, 0, std::nan("")), Failure);
    EXPECT_THROW(workbook.setNumber(0, 0, -HUGE_VAL), Failure);
}

// Texts asked for out of order (a header written last, a value repeated
// from long ago) come back right from a workbook whose cells and texts went
// to temporary files.
TEST(FileFormats, LateAndRepeatedTextsComeBackInXlsxAndCsv) {
    TempDir dir;
    constexpr std::uint32_t kRows = 40000;
    Workbook workbook(4096);
    for (std::uint32_t row = 1; row < kRows; ++row) {
        workbook.setText(row, 0, "unique " + std::to_string(row) + std::string(40, 'x'));
        workbook.setText(row, 1, row % 2 ? "Memo" : "会议纪要");
    }
    workbook.setText(0, 1, "second header");
    workbook.setText(0, 0, "first header");
    for (FileFormat format : {FileFormat::Xlsx, FileFormat::Csv}) {
        std::string path = dir.file(fileName(format));
        saveWorkbook(workbook, path, format);
        auto values = valuesOf(cellsOf(format, readBack(format, path)));
        ASSERT_EQ(values.size(), 2 * kRows) << fileName(format);
        EXPECT_EQ(values[at(0, 0)], "first header");
        EXPECT_EQ(values[at(0, 1)], "second header");
        for (std::uint32_t row : {1u, 2u, 20001u, kRows - 1}) {
            EXPECT_EQ(values[at(static_cast<int>(row), 0)], "unique " + std::to_string(row) + std::string(40, 'x'));
            EXPECT_EQ(values[at(static_cast<int>(row), 1)], row % 2 ? "Memo" : "会议纪要");
        }
    }
}

TEST(FileFormats, MoreRowsThanAnXlsSheetHoldsInEachFormat) {
    TempDir dir;
    constexpr std::uint32_t kRows = 70000;
    Workbook workbook;
    workbook.setText(0, 0, "header");
    for (std::uint32_t row = 1; row < kRows; ++row) workbook.setText(row, 0, "row " + std::to_string(row));

    saveWorkbook(workbook, dir.file("rows.xls"), FileFormat::Xls);
    nlohmann::json xls = readBack(FileFormat::Xls, dir.file("rows.xls"));
    ASSERT_EQ(xls["sheets"].size(), 2u);
    EXPECT_EQ(xls["sheets"][1]["name"], "Rows 65537-131071");
    EXPECT_EQ(xls["sheets"][1]["cells"][0][2], "header");
    EXPECT_EQ(xls["sheets"][1]["cells"].back()[2], "row 69999");

    saveWorkbook(workbook, dir.file("rows.xlsx"), FileFormat::Xlsx);
    nlohmann::json xlsx = readBack(FileFormat::Xlsx, dir.file("rows.xlsx"));
    ASSERT_EQ(xlsx["sheets"].size(), 1u);
    EXPECT_EQ(xlsx["sheets"][0]["rows"], kRows);
    EXPECT_EQ(xlsx["sheets"][0]["cells"].back(), nlohmann::json::parse(R"([69999, 0, "row 69999", "General"])"));

    saveWorkbook(workbook, dir.file("rows.csv"), FileFormat::Csv);
    nlohmann::json csv = readBack(FileFormat::Csv, dir.file("rows.csv"));
    EXPECT_EQ(csv["rows"], kRows);
    EXPECT_EQ(csv["cells"].back(), nlohmann::json::parse(R"([69999, 0, "row 69999"])"));
}

TEST(FileFormats, XlsxStartsNewSheetsPastItsRowsAndColumns) {
    TempDir dir;
    Workbook workbook;
    workbook.setText(0, 0, "head");
    workbook.setColumnWidth(16384, 30);
    workbook.setText(0, 16384, "column beyond");
    workbook.setText(1048576, 0, "row beyond");
    saveWorkbook(workbook, dir.file("big.xlsx"), FileFormat::Xlsx);
    nlohmann::json read = readBack(FileFormat::Xlsx, dir.file("big.xlsx"));
    ASSERT_EQ(read["sheets"].size(), 3u);
    EXPECT_EQ(read["sheets"][0]["cells"], nlohmann::json::parse(R"([[0, 0, "head", "General"]])"));
    EXPECT_EQ(read["sheets"][1]["name"], "Columns 16385-32767");
    EXPECT_EQ(read["sheets"][1]["cells"],
              nlohmann::json::parse(R"([[0, 0, "head", "General"], [0, 1, "column beyond", "General"]])"));
    EXPECT_EQ(read["sheets"][2]["name"], "Rows 1048577-2097151");
    EXPECT_EQ(read["sheets"][2]["cells"],
              nlohmann::json::parse(R"([[0, 0, "head", "General"], [1, 0, "row beyond", "General"]])"));
}

TEST(FileFormats, CsvIsOneTableWithEveryColumnAndRow) {
    TempDir dir;
    Workbook workbook;
    workbook.setText(0, 0, "first");
    workbook.setFormat(1, 1, CellFormat::Text);  // a format alone leaves the field empty
    workbook.setText(3, 20000, "far");
    saveWorkbook(workbook, dir.file("wide.csv"), FileFormat::Csv);
    nlohmann::json read = readBack(FileFormat::Csv, dir.file("wide.csv"));
    EXPECT_TRUE(read["bom"]);
    EXPECT_TRUE(read["crlf"]);
    EXPECT_EQ(read["rows"], 4);
    EXPECT_EQ(read["fields"], nlohmann::json::parse("[20001]"));
    EXPECT_EQ(read["cells"], nlohmann::json::parse(R"([[0, 0, "first"], [3, 20000, "far"]])"));
}

// The old file stays when a save fails, and a link in the target's place is
// replaced, never followed.
TEST(FileFormats, SavingIsAtomicInEachFormat) {
    TempDir dir;
    for (FileFormat format : kFormats) {
        const std::string outside = dir.file("outside-" + fileName(format));
        const std::string link = dir.file("linked-" + fileName(format));
        { std::ofstream(outside) << "keep me"; }
        std::filesystem::create_symlink(outside, link);
        Workbook workbook;
        workbook.setText(0, 0, "saved");
        saveWorkbook(workbook, link, format);
        EXPECT_EQ(fileBytes(outside), "keep me") << fileName(format);
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::symlink_status(link))) << fileName(format);
        EXPECT_EQ(valuesOf(cellsOf(format, readBack(format, link)))[at(0, 0)], "saved");
        EXPECT_THAT([&] {
            try {
                saveWorkbook(workbook, dir.file("missing/" + fileName(format)), format);
            } catch (const Failure& e) {
                return std::string(e.original());
            }
            return std::string();
        }(), HasSubstr("does not exist"));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 6);
}

TEST(FileFormats, AnXlsxSaveThatFailsLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("old.xlsx");
    { std::ofstream(path) << "the old file"; }
    Workbook workbook;
    workbook.setText(0, 0, "text");
    {
        FileCalls calls = systemFileCalls();
        calls.fsync = [](int) {
            errno = EIO;
            return -1;
        };
        const ScopedFileCalls failing(calls);
        EXPECT_THROW(saveWorkbook(workbook, path, FileFormat::Xlsx), Failure);
    }
    EXPECT_EQ(fileBytes(path), "the old file");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// A cell holds 32767 characters, counted before control characters are
// escaped: every text a cell holds is written whole, and the cells after
// it too. Only a text that escaped underscores push past the limit loses
// its end. "_xHHHH" before anything written as an escape reads back as
// written.
TEST(FileFormats, XlsxWritesEveryTextACellHolds) {
    std::string crlf;
    for (int i = 0; i < 5200; ++i) crlf += "line\r\n";  // 31200 characters, 67600 with "_x000D_"
    const std::string flood(20000, '\x01');
    const std::string nearTheLimit = std::string(32760, 'a') + "_x0041_";
    const std::pair<std::string, std::string> cases[] = {
        {"line\r\n", "line\r\n"},
        {crlf, crlf},
        {flood, flood},
        {nearTheLimit, std::string(32760, 'a') + "_"},
        {"_x00DD\r_x00DD\x01_x00DD\xEF\xBF\xBE", "_x00DD\r_x00DD\x01_x00DD\xEF\xBF\xBE"},
        {"after", "after"},
    };
    TempDir dir;
    Workbook workbook;
    for (std::size_t row = 0; row < std::size(cases); ++row)
        workbook.setText(static_cast<std::uint32_t>(row), 0, cases[row].first);
    const std::string path = dir.file("book.xlsx");
    saveWorkbook(workbook, path, FileFormat::Xlsx);
    auto values = valuesOf(cellsOf(FileFormat::Xlsx, readBack(FileFormat::Xlsx, path)));
    for (std::size_t row = 0; row < std::size(cases); ++row)
        EXPECT_EQ(values[at(static_cast<int>(row), 0)], cases[row].second) << "row " << row;
}

TEST(FileFormats, XlsFilesOfTheExportsCallsAreByteForByteAsBefore) {
    TempDir dir;
    Workbook workbook(4096, std::make_unique<velloran::workbook::biff::SstPlacement>());
    velloran::testing::pinnedCalls(workbook);
    saveWorkbook(workbook, dir.file("pinned.xls"), FileFormat::Xls);
    const std::string bytes = fileBytes(dir.file("pinned.xls"));
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    char hex[2 * crypto_hash_sha256_BYTES + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    EXPECT_EQ(std::string(hex), "51c894258dcf859bb38d4234dc920e22b17c81c4b4c5c93211135dc72b5eb347");
}

TEST(FileFormats, FormatsAreChosenByCodeOrByExtension) {
    using velloran::workbook::formatOfCode;
    using velloran::workbook::formatOfName;
    EXPECT_EQ(formatOfCode(56), FileFormat::Xls);
    EXPECT_EQ(formatOfCode(51), FileFormat::Xlsx);
    EXPECT_EQ(formatOfCode(6), FileFormat::Csv);
    EXPECT_EQ(formatOfCode(62), FileFormat::Csv);
    EXPECT_FALSE(formatOfCode(57));
    EXPECT_EQ(formatOfName("a/b.XLSX"), FileFormat::Xlsx);
    EXPECT_EQ(formatOfName("b.csv"), FileFormat::Csv);
    EXPECT_EQ(formatOfName("c.xls"), FileFormat::Xls);
    EXPECT_EQ(formatOfName("d.csv.txt"), FileFormat::Xls);
    EXPECT_EQ(formatOfName("xlsx"), FileFormat::Xls);
}

}  // namespace
