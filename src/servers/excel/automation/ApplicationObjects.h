#pragma once
// The application object and its workbooks.
#include "Session.h"

#include "component/Dispatch.h"

namespace velloran::excel {

// Members: Workbooks, ActiveWorkbook, ActiveSheet, Cells(row, column),
// Columns(column) (both on the active sheet), Quit.
class ApplicationObject : public component::Dispatch {
public:
    ApplicationObject();
    component::Variant invoke(const std::string& member, component::CallKind kind,
                              const std::vector<component::Variant>& args) override;

private:
    SessionPtr session_;
};

// Members: Add.
class WorkbooksObject : public component::Dispatch {
public:
    explicit WorkbooksObject(SessionPtr session);
    component::Variant invoke(const std::string& member, component::CallKind kind,
                              const std::vector<component::Variant>& args) override;

private:
    SessionPtr session_;
};

// Members: ActiveSheet, SaveAs(file name).
class WorkbookObject : public component::Dispatch {
public:
    WorkbookObject(SessionPtr session, WorkbookPtr workbook);
    component::Variant invoke(const std::string& member, component::CallKind kind,
                              const std::vector<component::Variant>& args) override;

private:
    SessionPtr session_;
    WorkbookPtr workbook_;
};

}  // namespace velloran::excel
