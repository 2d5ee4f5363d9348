#include "SheetObjects.h"

namespace velloran::excel {

using component::Variant;

namespace {

// The number formats a cell takes: text, a date-time, a date, or back to
// the general format (under its English and Chinese names).
workbook::CellFormat cellFormat(const Call& call, const std::string& format) {
    if (format == "@") return workbook::CellFormat::Text;
    if (sameName(format, "General") || format == "G/通用格式") return workbook::CellFormat::General;
    if (sameName(format, "yyyy-mm-dd hh:mm:ss")) return workbook::CellFormat::DateTime;
    if (sameName(format, "yyyy-mm-dd")) return workbook::CellFormat::Date;
    call.fail("only the formats \"@\" (text), \"General\", \"yyyy-mm-dd hh:mm:ss\" (a date-time) and "
              "\"yyyy-mm-dd\" (a date) are supported, not \"" + format + "\"");
}

// A text, or a number (whole or not).
void setValue(workbook::QueuedWorkbook& workbook, std::uint32_t row, std::uint32_t column, const Call& call) {
    if (std::holds_alternative<std::string>(call.argument(0)))
        workbook.setText(row, column, call.text(0, "value"));
    else
        workbook.setNumber(row, column, call.number(0, "value"));
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
        setValue(*workbook_, row_, column_, call);
        return {};
    }
    if (call.is("NumberFormatLocal") || call.is("NumberFormat")) {
        call.expectAssignment();
        workbook_->setFormat(row_, column_, cellFormat(call, call.text(0, "format")));
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
