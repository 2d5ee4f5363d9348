#pragma once
// The worksheet and its ranges: a single cell and a whole column.
#include "AutomationObject.h"

namespace velloran::excel {

// Members: Value := text or number, NumberFormat (or NumberFormatLocal) :=
// "@" (text), "General" (or "G/通用格式"), "yyyy-mm-dd hh:mm:ss" (a
// date-time) or "yyyy-mm-dd" (a date). A date-time is given as a number of
// days since 1899-12-30 00:00 (the automation interface's date) into a cell
// with the date-time format, a date as a whole number of days into one
// with the date format.
class CellObject : public AutomationObject {
public:
    CellObject(SessionPtr session, WorkbookPtr workbook, std::uint32_t row, std::uint32_t column);

    const WorkbookPtr& workbook() const { return workbook_; }
    void moveTo(std::uint32_t row, std::uint32_t column) { row_ = row, column_ = column; }

private:
    component::Variant dispatch(const Call& call) override;
    WorkbookPtr workbook_;
    std::uint32_t row_, column_;
};

// Answers Cells(row, column). Callers mostly drop a cell object right after
// one call on it (cells(r, c).value = text), so the object handed out last
// is moved to the new cell when nobody holds it any more, instead of a new
// object being made for every cell.
class CellObjects {
public:
    component::Variant at(const Call& call, const SessionPtr& session, const WorkbookPtr& workbook);
    // Lets go of the last cell object, and so of its workbook.
    void forget() { last_.reset(); }

private:
    std::shared_ptr<CellObject> last_;
};

// Answers Columns(column).
component::Variant columnAt(const Call& call, const SessionPtr& session, const WorkbookPtr& workbook);

// Members: Cells(row, column), Columns(column).
class WorksheetObject : public AutomationObject {
public:
    WorksheetObject(SessionPtr session, WorkbookPtr workbook);

private:
    component::Variant dispatch(const Call& call) override;
    WorkbookPtr workbook_;
    CellObjects cells_;
};

// Members: ColumnWidth := characters.
class ColumnObject : public AutomationObject {
public:
    ColumnObject(SessionPtr session, WorkbookPtr workbook, std::uint32_t column);

private:
    component::Variant dispatch(const Call& call) override;
    WorkbookPtr workbook_;
    std::uint32_t column_;
};

}  // namespace velloran::excel
