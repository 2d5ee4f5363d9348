#include "ApplicationObjects.h"

#include "Call.h"
#include "SheetObjects.h"
#include "WorkbookWriter.h"

namespace velloran::excel {

using component::CallKind;
using component::Variant;

ApplicationObject::ApplicationObject() : session_(std::make_shared<Session>()) {}

Variant ApplicationObject::invoke(const std::string& member, CallKind kind, const std::vector<Variant>& args) {
    session_->checkRunning();
    Call call("Application", member, kind, args);
    if (call.is("Cells") || call.is("Columns")) {
        WorksheetObject sheet(session_, session_->activeWorkbook());
        return sheet.invoke(member, kind, args);
    }
    call.expectRead({});
    if (call.is("Workbooks")) return std::make_shared<WorkbooksObject>(session_);
    if (call.is("ActiveWorkbook")) return std::make_shared<WorkbookObject>(session_, session_->activeWorkbook());
    if (call.is("ActiveSheet")) return std::make_shared<WorksheetObject>(session_, session_->activeWorkbook());
    if (call.is("Quit")) {
        session_->quit();
        return {};
    }
    call.failUnknown();
}

WorkbooksObject::WorkbooksObject(SessionPtr session) : session_(std::move(session)) {}

Variant WorkbooksObject::invoke(const std::string& member, CallKind kind, const std::vector<Variant>& args) {
    session_->checkRunning();
    Call call("Workbooks", member, kind, args);
    if (!call.is("Add")) call.failUnknown();
    call.expectRead({});
    return std::make_shared<WorkbookObject>(session_, session_->addWorkbook());
}

WorkbookObject::WorkbookObject(SessionPtr session, WorkbookPtr workbook)
    : session_(std::move(session)), workbook_(std::move(workbook)) {}

Variant WorkbookObject::invoke(const std::string& member, CallKind kind, const std::vector<Variant>& args) {
    session_->checkRunning();
    Call call("Workbook", member, kind, args);
    if (call.is("ActiveSheet")) {
        call.expectRead({});
        return std::make_shared<WorksheetObject>(session_, workbook_);
    }
    if (call.is("SaveAs")) {
        call.expectRead({"file name"});
        biff::saveWorkbook(*workbook_, call.text(0, "file name"));
        return {};
    }
    call.failUnknown();
}

}  // namespace velloran::excel
