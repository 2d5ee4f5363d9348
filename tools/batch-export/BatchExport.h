#pragma once
// The batch export: logs in or opens the local file, counts the view, and
// runs the window's export on that request with the terminal plugged in.
#include "BatchOptions.h"
#include "Terminal.h"

#include <ostream>
#include <string>

namespace velloran::batch {

// Returns the exit status: 0 when the whole view was exported, 1 when the
// run stopped or could not write everything it should have. Prints the
// places of the workbook, the attachment folder and the log on `summary`.
// Throws with a clear message when the database or view cannot be opened
// or the workbook's folder does not exist.
int runBatchExport(const BatchOptions& options, const std::string& hivePath, Terminal& terminal,
                   std::ostream& summary);

}  // namespace velloran::batch
