#pragma once
// Reads a workbook back with Debian's python3-xlrd, a reader we did not
// write, through dump_workbook.py.
#include <nlohmann/json.hpp>

#include <string>

namespace velloran::testing {

// The JSON that dump_workbook.py prints for `path`; throws with xlrd's
// complaint when it cannot read the file.
nlohmann::json readWithXlrd(const std::string& path, bool brief = false);

// The JSON that the Python script `script` prints for the workbook `path`,
// given `options` after the path.
nlohmann::json runPythonOn(const char* script, const std::string& path, const char* options = "");

// The cell at (row, column) of a dumped sheet (counting from 0), or null.
const nlohmann::json* findCell(const nlohmann::json& sheet, int row, int column);

}  // namespace velloran::testing
