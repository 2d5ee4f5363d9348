#pragma once
// Ctrl+C (SIGINT) and SIGTERM during the batch tool's run. The first asks
// the export to stop: it finishes the document it is on, saves the
// workbook and ends. The second ends the process at once with status 130,
// before anything more is written: a workbook being saved goes to a hidden
// temporary file that is never renamed over an existing one.
#include <atomic>

namespace velloran::batch {

// Installs the handlers. The handler only sets the flag, writes a fixed
// line on standard error and, the second time, calls _exit: all
// async-signal-safe.
void installInterruption();

// Set by the first signal; the export reads it between documents.
const std::atomic<bool>& interruptionRequested();

}  // namespace velloran::batch
