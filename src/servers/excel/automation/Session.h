#pragma once
// What the objects of one application share: its workbooks and whether it
// has quit.
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

private:
    WorkbookPtr active_;
    bool quit_ = false;
};

using SessionPtr = std::shared_ptr<Session>;

}  // namespace velloran::excel
