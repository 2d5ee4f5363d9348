#include "run/Diagnostics.h"

namespace velloran::exporting {

Q_LOGGING_CATEGORY(exportDiagnostics, "velloran.export")

}  // namespace velloran::exporting
