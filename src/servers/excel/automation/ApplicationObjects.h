#pragma once
// The application object and its workbooks.
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

// Members: ActiveSheet, SaveAs(file name).
class WorkbookObject : public AutomationObject {
public:
    WorkbookObject(SessionPtr session, WorkbookPtr workbook);

private:
    component::Variant dispatch(const Call& call) override;
    WorkbookPtr workbook_;
};

}  // namespace velloran::excel
