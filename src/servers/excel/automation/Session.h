#pragma once
// What the objects of one application share: its workbooks, whether it
// shows alerts, and whether it has quit.
#include "QueuedWorkbook.h"

#include <memory>

namespace velloran::excel {

using WorkbookPtr = std::shared_ptr<workbook::QueuedWorkbook>;

class Session {
public:
    // Throws a workbook Failure once the application has quit.
    void checkRunning() const;
    void quit();

    // A new empty workbook, which becomes the active one.
    WorkbookPtr addWorkbook();
    // Throws a workbook Failure when no workbook has been added.
    const WorkbookPtr& activeWorkbook() const;

    // DisplayAlerts. With alerts on, a save over an existing file asks
    // whether to replace it; no one is there to answer, so it is answered
    // No and the save fails. Off, the file is replaced without asking.
    bool displayAlerts() const { return displayAlerts_; }
    void setDisplayAlerts(bool on) { displayAlerts_ = on; }

private:
    WorkbookPtr active_;
    bool displayAlerts_ = true;
    bool quit_ = false;
};

using SessionPtr = std::shared_ptr<Session>;

}  // namespace velloran::excel
