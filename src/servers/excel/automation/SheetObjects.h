#pragma once
// The worksheet and its ranges: a single cell and a whole column.
#include "AutomationObject.h"

namespace velloran::excel {

// Members: Cells(row, column), Columns(column).
class WorksheetObject : public AutomationObject {
public:
    WorksheetObject(SessionPtr session, WorkbookPtr workbook);

private:
    component::Variant dispatch(const Call& call) override;
    WorkbookPtr workbook_;
};

// Members: Value := text, NumberFormatLocal := "@" or "General".
class CellObject : public AutomationObject {
public:
    CellObject(SessionPtr session, WorkbookPtr workbook, std::uint32_t row, std::uint32_t column);

private:
    component::Variant dispatch(const Call& call) override;
    WorkbookPtr workbook_;
    std::uint32_t row_, column_;
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
