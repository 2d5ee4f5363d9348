#pragma once
// The batch export: opens the database and the view as the main window
// does when the view is clicked, then runs the same export with the
// terminal plugged in.
#include "BatchOptions.h"
#include "Terminal.h"

#include <ostream>
#include <string>

namespace velloran::batch {

// Returns the exit status: 0 when the whole view was exported. Prints the
// places of the workbook, the attachment folder and the log on `summary`.
// Throws with a clear message when the database or view cannot be opened
// or the workbook's folder does not exist.
int runBatchExport(const BatchOptions& options, const std::string& hivePath, Terminal& terminal,
                   std::ostream& summary);

}  // namespace velloran::batch
