#pragma once
#include "AtomicFile.h"
#include "Workbook.h"

#include <string>

namespace velloran::workbook::csv {

// Saves `workbook` as one CSV table at `path`: UTF-8 with a byte order
// mark, fields as CsvFields.h writes them, CR LF after every row. Every row
// from the first to the last that has a cell is written, each with as many
// fields as the widest row, so cells keep their places; column widths and
// the text format have no place in CSV. Saved atomically as AtomicFile
// does, replacing or keeping a file of that name as `existing` says;
// returns the name saved. Throws a workbook Failure naming the file when it
// cannot be written.
std::string saveWorkbook(Workbook& workbook, const std::string& path, Existing existing = Existing::Replace);

}  // namespace velloran::workbook::csv
