#pragma once
// Floor 2: the spreadsheet work of the export. The header row, the column
// widths and every cell an engine walk read, written through the
// spreadsheet automation object with the export's own calls, then SaveAs.
#include "EngineFloor.h"

namespace velloran::bench {

// Returns the number of cells written. Throws when the hive has no
// spreadsheet application or the workbook cannot be saved.
qint64 writeWorkbook(const std::string& hivePath, const EngineWalk& walk, const QString& fileName);

}  // namespace velloran::bench
