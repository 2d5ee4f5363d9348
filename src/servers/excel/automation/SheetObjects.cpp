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
    if (call.is("Cells")) return cells_.at(call, session_, workbook_);
    if (call.is("Columns")) return columnAt(call, session_, workbook_);
    call.failUnknown();
}

Variant CellObjects::at(const Call& call, const SessionPtr& session, const WorkbookPtr& workbook) {
    call.expectRead({"row", "column"});
    std::uint32_t row = call.position(0, "row"), column = call.position(1, "column");
    if (last_ && last_.use_count() == 1 && last_->workbook() == workbook)
        last_->moveTo(row, column);
    else
        last_ = std::make_shared<CellObject>(session, workbook, row, column);
    return last_;
}

Variant columnAt(const Call& call, const SessionPtr& session, const WorkbookPtr& workbook) {
    call.expectRead({"column"});
    return std::make_shared<ColumnObject>(session, workbook, call.position(0, "column"));
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
