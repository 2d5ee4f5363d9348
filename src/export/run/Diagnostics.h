#pragma once
// The export's diagnostics channel: reasons that no message and no log line
// carries (why the spreadsheet application could not start, a failure to
// quit it) go here rather than being dropped.
#include <QLoggingCategory>

namespace velloran::exporting {

Q_DECLARE_LOGGING_CATEGORY(exportDiagnostics)

}  // namespace velloran::exporting
