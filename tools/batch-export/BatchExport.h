#pragma once
// The batch export: logs in or opens the local file, opens the view, and
// runs the window's export on that request with the terminal plugged in.
#include "BatchFailure.h"
#include "BatchOptions.h"
#include "Terminal.h"

#include <atomic>
#include <ostream>
#include <string>

namespace velloran::batch {

// Returns the exit status: kExported when the whole view was exported,
// kInterrupted when `stop` was set during the run, kNotExported otherwise.
// Prints on `summary` where the workbook, the attachment folder and the log
// are, and how the run ended. Throws a Failure with a message naming
// what to fix when the database, view or workbook's folder cannot be used.
ExitStatus runBatchExport(const BatchOptions& options, const std::string& hivePath, Terminal& terminal,
                          const std::atomic<bool>& stop, std::ostream& summary);

}  // namespace velloran::batch
