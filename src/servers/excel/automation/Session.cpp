#include "Session.h"

#include "Call.h"

namespace velloran::excel {

void Session::checkRunning() const {
    if (quit_) throw AutomationError("The spreadsheet application has quit; it takes no further calls");
}

void Session::quit() {
    quit_ = true;
    active_.reset();
}

WorkbookPtr Session::addWorkbook() {
    active_ = std::make_shared<workbook::QueuedWorkbook>();
    return active_;
}

const WorkbookPtr& Session::activeWorkbook() const {
    if (!active_) throw AutomationError("No workbook is open: call Workbooks.Add first");
    return active_;
}

}  // namespace velloran::excel
