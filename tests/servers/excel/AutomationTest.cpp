// The application object as the export drives it: created through the
// registry hive, called by name with variant arguments.
#include "TempDir.h"
#include "XlrdReader.h"

#include "api/ExcelServer.h"
#include "automation/Call.h"
#include "component/ComponentRuntime.h"
#include "component/Dispatch.h"
#include "registry/RegistryHive.h"

#include <gmock/gmock.h>
#include <cmath>
#include <gtest/gtest.h>

#include <fstream>

using namespace velloran::component;
using velloran::platform::Failure;
using velloran::platform::ComponentRuntime;
using velloran::platform::RegistryHive;
using velloran::testing::TempDir;
using velloran::testing::findCell;
using velloran::testing::readWithXlrd;
using ::testing::HasSubstr;

namespace {

DispatchPtr get(const DispatchPtr& on, const std::string& member, std::vector<Variant> args = {}) {
    return std::get<DispatchPtr>(on->invoke(member, CallKind::PropertyGet, args));
}
DispatchPtr method(const DispatchPtr& on, const std::string& member, std::vector<Variant> args = {}) {
    Variant result = on->invoke(member, CallKind::Method, args);
    return std::holds_alternative<DispatchPtr>(result) ? std::get<DispatchPtr>(result) : nullptr;
}
void put(const DispatchPtr& on, const std::string& member, Variant value) {
    on->invoke(member, CallKind::PropertyPut, {std::move(value)});
}

// The message of the error `call` throws, or "" when it does not throw.
template <typename F>
std::string errorOf(F&& call) {
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

class Automation : public ::testing::Test {
protected:
    void SetUp() override {
        ComponentRuntime(hive()).registerServer(VELLORAN_EXCEL_MODULE);
        app = std::dynamic_pointer_cast<Dispatch>(
            ComponentRuntime(hive()).createObjectByProgId(velloran::excel::kApplicationProgId));
        ASSERT_NE(app, nullptr);
    }
    std::string hive() const { return dir.file("hive.reg"); }
    void addWorkbook() { method(get(app, "WorkBooks"), "Add"); }

    TempDir dir;
    DispatchPtr app;
};

}  // namespace

TEST(AutomationNames, OnlyTheCaseOfLettersIsIgnored) {
    using velloran::excel::sameName;
    EXPECT_TRUE(sameName("activesheet", "ActiveSheet"));
    EXPECT_TRUE(sameName("NUMBERFORMATLOCAL", "NumberFormatLocal"));
    EXPECT_TRUE(sameName("{7d4e2b19-8a63}", "{7D4E2B19-8A63}"));
    EXPECT_FALSE(sameName("Cell", "Cells"));
    EXPECT_FALSE(sameName("Cellz", "Cells"));
    // Characters one bit apart that are not the two cases of a letter.
    EXPECT_FALSE(sameName("[7D4E2B19]", "{7D4E2B19}"));
    EXPECT_FALSE(sameName("`", "@"));
    EXPECT_FALSE(sameName("Col\x8Cmns", "Col\xACmns"));
}

TEST_F(Automation, RegistrationWritesTheProgIdAndTheModule) {
    RegistryHive written = RegistryHive::load(hive());
    std::string classId = written.readString("HKEY_CLASSES_ROOT\\Excel.Application\\CLSID", "");
    EXPECT_EQ(classId, velloran::excel::kApplicationClassId);
    EXPECT_EQ(written.readString(ComponentRuntime::inprocServerKey(classId), ""), VELLORAN_EXCEL_MODULE);
}

TEST(AutomationHive, WithoutTheRegistrationCreationFails) {
    TempDir dir;
    EXPECT_THROW(ComponentRuntime(dir.file("empty.reg")).createObjectByProgId("Excel.Application"), Failure);
}

TEST_F(Automation, TheExportsChainsBuildTheWorkbook) {
    // Header names Form, Body and 2019, then one document, in the export's
    // order and spelling.
    method(get(app, "WorkBooks"), "Add");
    const std::vector<std::string> names = {"Form", "Body", "2019"};
    for (int i = 0; i < 3; ++i) {
        put(get(method(app, "activesheet"), "columns", {i + 1}), "columnwidth", 40);
        put(get(method(app, "activesheet"), "columns", {i + 2}), "columnwidth",
            static_cast<std::int32_t>(names[i].size() + 10));
        if (names[i] == "2019") put(get(app, "cells", {1, i + 2}), "NumberFormatLocal", std::string("@"));
        put(get(app, "cells", {1, i + 2}), "value", names[i]);
        put(get(app, "cells", {1, 1}), "value", std::string("文档ID"));
    }
    put(get(app, "cells", {2.0, 1.0}), "value", std::string("0123ABCD"));  // numbers may come as doubles
    put(get(app, "cells", {2, 2}), "value", std::string("00042"));
    std::string file = dir.file("导出_开始为第1个文档.xls");
    method(method(app, "activeworkbook"), "SaveAs", {file});
    method(app, "quit");

    nlohmann::json sheet = readWithXlrd(file)["sheets"][0];
    EXPECT_EQ(sheet["cells"], nlohmann::json::parse(R"([
        [0, 0, "文档ID", "General"], [0, 1, "Form", "General"], [0, 2, "Body", "General"], [0, 3, "2019", "@"],
        [1, 0, "0123ABCD", "General"], [1, 1, "00042", "General"]])"));
    EXPECT_EQ(sheet["widths"], nlohmann::json({{"0", 10240}, {"1", 10240}, {"2", 10240}, {"3", 3584}}));
}

TEST_F(Automation, ACellKeptByTheCallerStaysOnItsCell) {
    // Cell objects dropped after one call may be reused for later cells;
    // one the caller still holds must not move.
    addWorkbook();
    DispatchPtr sheet = method(app, "ActiveSheet");
    DispatchPtr kept = get(app, "Cells", {1, 1});
    DispatchPtr keptOnSheet = get(sheet, "Cells", {2, 1});
    for (int row = 3; row <= 4; ++row) {
        put(get(app, "Cells", {row, 1}), "Value", std::string("from the application"));
        put(get(sheet, "Cells", {row, 2}), "Value", std::string("from the sheet"));
    }
    put(kept, "Value", std::string("kept"));
    put(keptOnSheet, "Value", std::string("kept on the sheet"));
    method(get(app, "ActiveWorkbook"), "SaveAs", {dir.file("kept.xls")});
    EXPECT_EQ(readWithXlrd(dir.file("kept.xls"))["sheets"][0]["cells"], nlohmann::json::parse(R"([
        [0, 0, "kept", "General"], [1, 0, "kept on the sheet", "General"],
        [2, 0, "from the application", "General"], [2, 1, "from the sheet", "General"],
        [3, 0, "from the application", "General"], [3, 1, "from the sheet", "General"]])"));
}

TEST_F(Automation, MisuseIsReportedClearly) {
    EXPECT_THAT(errorOf([&] { get(app, "ActiveSheet"); }), HasSubstr("Workbooks.Add"));
    EXPECT_THAT(errorOf([&] { get(app, "ActiveWorkbook"); }), HasSubstr("No workbook is open"));
    addWorkbook();
    EXPECT_THAT(errorOf([&] { get(app, "Charts", {1}); }), HasSubstr("Application has no member \"Charts\""));
    EXPECT_THAT(errorOf([&] { get(app, "Cells", {1}); }), HasSubstr("Cells: takes 2 (row, column), not 1"));
    EXPECT_THAT(errorOf([&] { get(app, "Cells", {std::string("A"), 1}); }),
                HasSubstr("row must be a whole number, not text"));
    EXPECT_THAT(errorOf([&] { get(app, "Cells", {1.5, 1}); }), HasSubstr("row must be a whole number"));
    EXPECT_THAT(errorOf([&] { get(app, "Cells", {0, 1}); }), HasSubstr("row 0 is below 1"));
    EXPECT_THAT(errorOf([&] { get(app, "Cells", {1, -3}); }), HasSubstr("column -3 is below 1"));
    EXPECT_THAT(errorOf([&] { get(get(app, "ActiveSheet"), "Columns", {0}); }), HasSubstr("column 0 is below 1"));
    DispatchPtr cell = get(app, "Cells", {1, 1});
    EXPECT_THAT(errorOf([&] { put(cell, "Value", true); }), HasSubstr("value must be a number, not a true/false"));
    EXPECT_THAT(errorOf([&] { put(cell, "Value", std::nan("")); }), HasSubstr("must be finite"));
    EXPECT_THAT(errorOf([&] { get(cell, "Value"); }), HasSubstr("can only be assigned"));
    EXPECT_THAT(errorOf([&] { put(cell, "NumberFormatLocal", std::string("0.00")); }), HasSubstr("\"0.00\""));
    EXPECT_THAT(errorOf([&] { put(cell, "Value", std::string(32768, 'x')); }), HasSubstr("32767"));
    EXPECT_THAT(errorOf([&] { put(app, "Workbooks", 1); }), HasSubstr("cannot be assigned"));
    EXPECT_THAT(errorOf([&] { method(get(app, "ActiveWorkbook"), "SaveAs"); }), HasSubstr("takes 1 (file name)"));
    EXPECT_THAT(errorOf([&] { method(get(app, "ActiveWorkbook"), "SaveAs", {dir.file("a.xls"), 57}); }),
                HasSubstr("file format 57 is not supported"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("a.xls")));
    EXPECT_THAT(errorOf([&] { method(get(app, "ActiveWorkbook"), "SaveAs", {dir.file("no/such/folder/a.xls")}); }),
                HasSubstr(dir.file("no/such/folder/a.xls")));
}

// The file's first bytes tell the formats apart: a compound file, a zip
// container, a UTF-8 byte order mark.
std::string formatOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string head(4, '\0');
    in.read(head.data(), 4);
    if (head == "\xD0\xCF\x11\xE0") return "xls";
    if (head.substr(0, 2) == "PK") return "xlsx";
    if (head.substr(0, 3) == "\xEF\xBB\xBF") return "csv";
    return "unknown";
}

TEST_F(Automation, SaveAsTakesAFormatCodeOrTheNamesExtension) {
    addWorkbook();
    put(get(app, "Cells", {1, 1}), "Value", std::string("cell"));
    DispatchPtr workbook = get(app, "ActiveWorkbook");
    const std::vector<std::pair<std::vector<Variant>, std::string>> saves = {
        {{dir.file("a.xls")}, "xls"},       {{dir.file("b.XLSX")}, "xlsx"},     {{dir.file("c.csv")}, "csv"},
        {{dir.file("d.data")}, "xls"},      {{dir.file("e.data"), 51}, "xlsx"}, {{dir.file("f.xlsx"), 56.0}, "xls"},
        {{dir.file("g.txt"), 6}, "csv"},    {{dir.file("h.txt"), 62}, "csv"}};
    for (const auto& [arguments, format] : saves) {
        method(workbook, "SaveAs", arguments);
        EXPECT_EQ(formatOf(std::get<std::string>(arguments[0])), format) << std::get<std::string>(arguments[0]);
    }
}

// The application's alerts are on until set off: SaveAs then keeps a file
// of the name and fails, as when its replace prompt is answered No.
TEST_F(Automation, SaveAsReplacesAFileOnlyWithDisplayAlertsOff) {
    addWorkbook();
    put(get(app, "Cells", {1, 1}), "Value", std::string("cell"));
    DispatchPtr workbook = get(app, "ActiveWorkbook");
    const std::string target = dir.write("book.csv", "theirs");
    EXPECT_EQ(std::get<bool>(app->invoke("DisplayAlerts", CallKind::PropertyGet, {})), true);
    EXPECT_THAT(errorOf([&] { method(workbook, "SaveAs", {target}); }), HasSubstr("book.csv"));
    EXPECT_EQ(TempDir::read(target), "theirs");

    const std::vector<std::pair<Variant, bool>> settings = {
        {false, false}, {true, true}, {std::int32_t{0}, false}, {std::int32_t{-1}, true}};
    for (const auto& [value, on] : settings) {
        put(app, "DisplayAlerts", value);
        EXPECT_EQ(std::get<bool>(app->invoke("DisplayAlerts", CallKind::PropertyGet, {})), on);
    }
    EXPECT_THAT(errorOf([&] { put(app, "DisplayAlerts", std::string("no")); }), HasSubstr("true or false"));
    put(app, "DisplayAlerts", false);
    method(workbook, "SaveAs", {target});
    EXPECT_EQ(formatOf(target), "csv");
}

TEST_F(Automation, CellsTakeNumbersAndDateTimes) {
    addWorkbook();
    put(get(app, "Cells", {1, 1}), "Value", 7);
    put(get(app, "Cells", {1, 2}), "Value", 2.5);
    DispatchPtr date = get(app, "Cells", {1, 3});
    put(date, "NumberFormat", std::string("yyyy-mm-dd hh:mm:ss"));
    put(date, "Value", 45322.5);
    method(get(app, "ActiveWorkbook"), "SaveAs", {dir.file("typed.xls")});
    EXPECT_EQ(readWithXlrd(dir.file("typed.xls"))["sheets"][0]["cells"], nlohmann::json::parse(R"([
        [0, 0, 7, "General"], [0, 1, 2.5, "General"], [0, 2, "2024-01-31T12:00:00", "yyyy-mm-dd hh:mm:ss"]])"));
}

TEST_F(Automation, NothingAnswersAfterQuit) {
    addWorkbook();
    DispatchPtr cell = get(app, "Cells", {1, 1});
    DispatchPtr workbook = get(app, "ActiveWorkbook");
    method(app, "Quit");
    EXPECT_THAT(errorOf([&] { put(cell, "Value", std::string("late")); }), HasSubstr("has quit"));
    EXPECT_THAT(errorOf([&] { method(workbook, "SaveAs", {dir.file("late.xls")}); }), HasSubstr("has quit"));
    EXPECT_THAT(errorOf([&] { get(app, "Workbooks"); }), HasSubstr("has quit"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("late.xls")));
}

TEST_F(Automation, EachAddedWorkbookStartsEmptyAndBecomesActive) {
    addWorkbook();
    DispatchPtr first = get(app, "ActiveWorkbook");
    put(get(app, "Cells", {1, 1}), "Value", std::string("first"));
    addWorkbook();
    put(get(app, "Cells", {1, 2}), "Value", std::string("second"));
    method(first, "SaveAs", {dir.file("first.xls")});
    method(get(app, "ActiveWorkbook"), "SaveAs", {dir.file("second.xls")});
    EXPECT_EQ(readWithXlrd(dir.file("first.xls"))["sheets"][0]["cells"],
              nlohmann::json::parse(R"([[0, 0, "first", "General"]])"));
    EXPECT_EQ(readWithXlrd(dir.file("second.xls"))["sheets"][0]["cells"],
              nlohmann::json::parse(R"([[0, 1, "second", "General"]])"));
}

TEST_F(Automation, EmptyTextsLeaveCellsEmpty) {
    // Empty texts as the export writes them for the items a document lacks:
    // over nothing, over texts written before (which must not come back),
    // over a cell with the text format (which stays, a blank cell), and past
    // the first sheet's columns and rows, where they make no further sheet.
    addWorkbook();
    auto setValue = [&](int row, int column, const std::string& text) {
        put(get(app, "Cells", {row, column}), "Value", text);
    };
    setValue(1, 1, "kept");
    setValue(1, 2, "stale");
    put(get(app, "Cells", {1, 3}), "NumberFormatLocal", std::string("@"));
    setValue(1, 3, "formatted");
    setValue(2, 280, "stale past column 256");
    for (int column = 2; column <= 300; ++column) setValue(1, column, "");
    setValue(2, 280, "");
    for (int row = 2; row <= 3; ++row) setValue(row, 1, "");
    setValue(65537, 1, "");
    setValue(70000, 300, "");
    method(get(app, "ActiveWorkbook"), "SaveAs", {dir.file("empty.xls")});

    nlohmann::json book = readWithXlrd(dir.file("empty.xls"));
    ASSERT_EQ(book["sheets"].size(), 1u);
    EXPECT_EQ(book["sheets"][0]["cells"], nlohmann::json::parse(R"([[0, 0, "kept", "General"], [0, 2, null, "@"]])"));
}
