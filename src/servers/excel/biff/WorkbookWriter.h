#pragma once
#include "AtomicFile.h"
#include "Workbook.h"

#include <string>

namespace velloran::workbook::biff {

// Saves `workbook` as an Excel 97-2003 workbook (BIFF8 in a compound file)
// at `path`: written beside it under a temporary name, then renamed, so the
// name never shows a half-written file. A file of that name is replaced, or
// with Existing::Keep kept, the save then failing. Returns the name saved.
// Throws a workbook Failure naming the file when it cannot be written or
// the workbook does not fit the format.
std::string saveWorkbook(Workbook& workbook, const std::string& path, Existing existing = Existing::Replace);

}  // namespace velloran::workbook::biff
