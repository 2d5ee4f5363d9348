#pragma once
#include <stdexcept>

namespace velloran::workbook {

// Any failure of the workbook model or of saving a workbook; the message says
// what went wrong and, for files, which file.
class WorkbookError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velloran::workbook
