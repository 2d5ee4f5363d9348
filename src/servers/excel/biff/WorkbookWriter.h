#pragma once
#include "Workbook.h"

#include <string>

namespace velloran::biff {

// Saves `workbook` as an Excel 97-2003 workbook (BIFF8 in a compound file)
// at `path`: written beside it under a temporary name, then renamed, so the
// name never shows a half-written file. Throws WorkbookError naming the
// file when it cannot be written or the workbook does not fit the format.
void saveWorkbook(Workbook& workbook, const std::string& path);

}  // namespace velloran::biff
