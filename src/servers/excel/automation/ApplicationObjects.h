#pragma once
// The application object and its workbooks.
#include "AtomicFile.h"
#include "AutomationObject.h"
#include "SheetObjects.h"

namespace velloran::excel {

// Members: Workbooks, ActiveWorkbook, ActiveSheet, Cells(row, column),
// Columns(column) (both on the active sheet), Quit.
class ApplicationObject : public AutomationObject {
public:
    ApplicationObject();

private:
    component::Variant dispatch(const Call& call) override;
    CellObjects cells_;
};

// Members: Add.
class WorkbooksObject : public AutomationObject {
public:
    explicit WorkbooksObject(SessionPtr session);

private:
    component::Variant dispatch(const Call& call) override;
};

// Members: ActiveSheet, SaveAs(file name[, format]) (replaces a file of that
// name), SaveAsNew(file name[, format]) (never replaces a file: when the
// name is taken by the end of the save, saves beside it as "name (2).xls",
// "name (3).xls", ...; answers the name saved). The format is a file-format
// code (56 .xls, 51 .xlsx, 6 or 62 UTF-8 CSV); without one the name's
// extension chooses (".xlsx", ".csv", anything else .xls).
class WorkbookObject : public AutomationObject {
public:
    WorkbookObject(SessionPtr session, WorkbookPtr workbook);

private:
    component::Variant dispatch(const Call& call) override;
    std::string save(const Call& call, workbook::Existing existing);
    WorkbookPtr workbook_;
};

}  // namespace velloran::excel
