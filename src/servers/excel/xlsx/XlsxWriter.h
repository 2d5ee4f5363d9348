#pragma once
#include "AtomicFile.h"
#include "SheetBlocks.h"
#include "Workbook.h"

#include <string>

namespace velloran::workbook::xlsx {

// What one .xlsx sheet holds.
constexpr SheetLimits kSheetLimits{1048576, 16384};

// Saves `workbook` as an Office Open XML workbook (.xlsx) at `path`, by
// libxlsxwriter in its constant-memory mode, sheet by sheet and row by row;
// the grid is cut into sheets as for .xls, with the larger sheets of this
// format. Saved atomically as AtomicFile does, replacing or keeping a file
// of that name as `existing` says; returns the name saved. Throws
// a workbook Failure naming the file when it cannot be written.
std::string saveWorkbook(Workbook& workbook, const std::string& path, Existing existing = Existing::Replace);

}  // namespace velloran::workbook::xlsx
