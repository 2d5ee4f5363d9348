#include "ApplicationObjects.h"

namespace velloran::excel {

using component::Variant;

ApplicationObject::ApplicationObject() : AutomationObject(std::make_shared<Session>(), "Application") {}

Variant ApplicationObject::dispatch(const Call& call) {
    if (call.is("Cells")) return cells_.at(call, session_, session_->activeWorkbook());
    if (call.is("Columns")) return columnAt(call, session_, session_->activeWorkbook());
    if (!call.is("Workbooks") && !call.is("ActiveWorkbook") && !call.is("ActiveSheet") && !call.is("Quit"))
        call.failUnknown();
    call.expectRead({});
    if (call.is("Workbooks")) return std::make_shared<WorkbooksObject>(session_);
    if (call.is("ActiveWorkbook")) return std::make_shared<WorkbookObject>(session_, session_->activeWorkbook());
    if (call.is("ActiveSheet")) return std::make_shared<WorksheetObject>(session_, session_->activeWorkbook());
    session_->quit();
    cells_.forget();
    return {};
}

WorkbooksObject::WorkbooksObject(SessionPtr session) : AutomationObject(std::move(session), "Workbooks") {}

Variant WorkbooksObject::dispatch(const Call& call) {
    if (!call.is("Add")) call.failUnknown();
    call.expectRead({});
    return std::make_shared<WorkbookObject>(session_, session_->addWorkbook());
}

WorkbookObject::WorkbookObject(SessionPtr session, WorkbookPtr workbook)
    : AutomationObject(std::move(session), "Workbook"), workbook_(std::move(workbook)) {}

Variant WorkbookObject::dispatch(const Call& call) {
    if (call.is("ActiveSheet")) {
        call.expectRead({});
        return std::make_shared<WorksheetObject>(session_, workbook_);
    }
    if (call.is("SaveAs")) {
        call.expectRead({"file name"});
        workbook_->save(call.text(0, "file name"));
        return {};
    }
    if (call.is("SaveAsNew")) {
        call.expectRead({"file name"});
        return workbook_->save(call.text(0, "file name"), biff::Existing::KeepAndNumber);
    }
    call.failUnknown();
}

}  // namespace velloran::excel
