#include "SheetObjects.h"


namespace velloran::excel {

using component::Variant;

namespace {

// The number formats a cell takes: text, or back to the general format
// (under its English and Chinese names).
bool isTextFormat(const Call& call, const std::string& format) {
    if (format == "@") return true;
    if (sameName(format, "General") || format == "G/通用格式") return false;
    call.fail("only the formats \"@\" (text) and \"General\" are supported, not \"" + format + "\"");
}

}  // namespace

WorksheetObject::WorksheetObject(SessionPtr session, WorkbookPtr workbook)
    : AutomationObject(std::move(session), "Worksheet"), workbook_(std::move(workbook)) {}

Variant WorksheetObject::dispatch(const Call& call) {
    if (call.is("Cells")) {
        call.expectRead({"row", "column"});
        return std::make_shared<CellObject>(session_, workbook_, call.position(0, "row"), call.position(1, "column"));
    }
    if (call.is("Columns")) {
        call.expectRead({"column"});
        return std::make_shared<ColumnObject>(session_, workbook_, call.position(0, "column"));
    }
    call.failUnknown();
}

CellObject::CellObject(SessionPtr session, WorkbookPtr workbook, std::uint32_t row, std::uint32_t column)
    : AutomationObject(std::move(session), "Range"), workbook_(std::move(workbook)), row_(row), column_(column) {}

Variant CellObject::dispatch(const Call& call) {
    if (call.is("Value")) {
        call.expectAssignment();
        workbook_->setText(row_, column_, call.text(0, "value"));
        return {};
    }
    if (call.is("NumberFormatLocal")) {
        call.expectAssignment();
        workbook_->setTextFormat(row_, column_, isTextFormat(call, call.text(0, "format")));
        return {};
    }
    call.failUnknown();
}

ColumnObject::ColumnObject(SessionPtr session, WorkbookPtr workbook, std::uint32_t column)
    : AutomationObject(std::move(session), "Range"), workbook_(std::move(workbook)), column_(column) {}

Variant ColumnObject::dispatch(const Call& call) {
    if (call.is("ColumnWidth")) {
        call.expectAssignment();
        workbook_->setColumnWidth(column_, call.number(0, "width"));
        return {};
    }
    call.failUnknown();
}

}  // namespace velloran::excel
