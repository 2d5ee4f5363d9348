#pragma once
// The application object and its workbooks.
#include "AtomicFile.h"
#include "AutomationObject.h"
#include "SheetObjects.h"

namespace velloran::excel {

// Members: Workbooks, ActiveWorkbook, ActiveSheet, Cells(row, column),
// Columns(column) (both on the active sheet), DisplayAlerts (true until set
// false), Quit.
class ApplicationObject : public AutomationObject {
public:
    ApplicationObject();

private:
    component::Variant dispatch(const Call& call) override;
    component::Variant displayAlerts(const Call& call);
    CellObjects cells_;
};

// Members: Add.
class WorkbooksObject : public AutomationObject {
public:
    explicit WorkbooksObject(SessionPtr session);

private:
    component::Variant dispatch(const Call& call) override;
};

// Members: ActiveSheet, SaveAs(file name[, format]). A file of that name,
// there before the save or made while it runs, is replaced only when the
// application's DisplayAlerts is false; otherwise it is kept and the save
// fails, as when the replace prompt is answered No. The format is a
// file-format code (56 .xls, 51 .xlsx, 6 or 62 UTF-8 CSV); without one the
// name's extension chooses (".xlsx", ".csv", anything else .xls).
class WorkbookObject : public AutomationObject {
public:
    WorkbookObject(SessionPtr session, WorkbookPtr workbook);

private:
    component::Variant dispatch(const Call& call) override;
    void save(const Call& call);
    WorkbookPtr workbook_;
};

}  // namespace velloran::excel
