#include "Session.h"

#include "Call.h"
#include "SstPlacement.h"

namespace velloran::excel {

void Session::checkRunning() const {
    if (quit_) throw automationFailure("The spreadsheet application has quit; it takes no further calls");
}

void Session::quit() {
    quit_ = true;
    active_.reset();
}

WorkbookPtr Session::addWorkbook() {
    // Texts are placed as .xls, the format saved by default, lays them out,
    // so that saving as .xls needs no second pass over them.
    active_ = std::make_shared<workbook::QueuedWorkbook>(std::make_unique<workbook::biff::SstPlacement>());
    return active_;
}

const WorkbookPtr& Session::activeWorkbook() const {
    if (!active_) throw automationFailure("No workbook is open: call Workbooks.Add first");
    return active_;
}

}  // namespace velloran::excel
