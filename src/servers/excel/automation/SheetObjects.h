#pragma once
// The worksheet and its ranges: a single cell and a whole column.
#include "Session.h"

#include "component/Dispatch.h"

namespace velloran::excel {

// Members: Cells(row, column), Columns(column).
class WorksheetObject : public component::Dispatch {
public:
    WorksheetObject(SessionPtr session, WorkbookPtr workbook);
    component::Variant invoke(const std::string& member, component::CallKind kind,
                              const std::vector<component::Variant>& args) override;

private:
    SessionPtr session_;
    WorkbookPtr workbook_;
};

// Members: Value := text, NumberFormatLocal := "@" or "General".
class CellObject : public component::Dispatch {
public:
    CellObject(SessionPtr session, WorkbookPtr workbook, std::uint32_t row, std::uint32_t column);
    component::Variant invoke(const std::string& member, component::CallKind kind,
                              const std::vector<component::Variant>& args) override;

private:
    SessionPtr session_;
    WorkbookPtr workbook_;
    std::uint32_t row_, column_;
};

// Members: ColumnWidth := characters.
class ColumnObject : public component::Dispatch {
public:
    ColumnObject(SessionPtr session, WorkbookPtr workbook, std::uint32_t column);
    component::Variant invoke(const std::string& member, component::CallKind kind,
                              const std::vector<component::Variant>& args) override;

private:
    SessionPtr session_;
    WorkbookPtr workbook_;
    std::uint32_t column_;
};

}  // namespace velloran::excel
