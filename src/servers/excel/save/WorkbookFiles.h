#pragma once
// Saving a workbook in one of the file formats it can be saved as.
#include "AtomicFile.h"
#include "Workbook.h"

#include <optional>
#include <string>
#include <string_view>

namespace velloran::workbook {

enum class FileFormat { Xls, Xlsx, Csv };

// The format of a file-format code of the automation interface: 56 (Excel
// 97-2003), 51 (Open XML workbook), 6 (CSV) and 62 (CSV UTF-8), both CSV
// codes writing UTF-8; none for another code.
std::optional<FileFormat> formatOfCode(int code);
// The format a file name asks for by its extension: ".xlsx", ".csv" (in any
// letter case), else .xls.
FileFormat formatOfName(std::string_view path);

// Saves `workbook` at `path` in `format` (see each format's saveWorkbook);
// returns the name saved.
std::string saveWorkbook(Workbook& workbook, const std::string& path, FileFormat format,
                         Existing existing = Existing::Replace);

}  // namespace velloran::workbook
