#include "ApplicationObjects.h"

#include "WorkbookFiles.h"

namespace velloran::excel {

using component::Variant;

ApplicationObject::ApplicationObject() : AutomationObject(std::make_shared<Session>(), "Application") {}

Variant ApplicationObject::dispatch(const Call& call) {
    if (call.is("Cells")) return cells_.at(call, session_, session_->activeWorkbook());
    if (call.is("Columns")) return columnAt(call, session_, session_->activeWorkbook());
    if (call.is("DisplayAlerts")) return displayAlerts(call);
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

Variant ApplicationObject::displayAlerts(const Call& call) {
    if (call.count() == 1) {
        call.expectAssignment();
        const Variant& value = call.argument(0);
        if (const auto* on = std::get_if<bool>(&value)) session_->setDisplayAlerts(*on);
        else if (const auto* whole = std::get_if<std::int32_t>(&value)) session_->setDisplayAlerts(*whole != 0);
        else call.fail("takes true or false");
        return {};
    }
    call.expectRead({});
    return session_->displayAlerts();
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
    if (!call.is("SaveAs")) call.failUnknown();
    save(call);
    return {};
}

void WorkbookObject::save(const Call& call) {
    if (call.count() == 2)
        call.expectRead({"file name", "format"});
    else
        call.expectRead({"file name"});
    const std::string& name = call.text(0, "file name");
    workbook::FileFormat format = workbook::formatOfName(name);
    if (call.count() == 2) {
        std::int32_t code = call.whole(1, "format");
        std::optional<workbook::FileFormat> chosen = workbook::formatOfCode(code);
        if (!chosen)
            call.fail("file format " + std::to_string(code) +
                      " is not supported; 56 (.xls), 51 (.xlsx), 6 and 62 (CSV) are");
        format = *chosen;
    }
    const auto existing = session_->displayAlerts() ? workbook::Existing::Keep : workbook::Existing::Replace;
    workbook::saveWorkbook(workbook_->applied(), name, format, existing);
}

}  // namespace velloran::excel
