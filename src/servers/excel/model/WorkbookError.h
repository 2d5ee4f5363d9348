#pragma once
#include "errors/Failure.h"

#include <string>

namespace velloran::workbook {

// A failure of the workbook model (Kind::Workbook); the text says what went
// wrong.
inline platform::Failure workbookFailure(const std::string& text) {
    return platform::Failure(platform::Failure::Kind::Workbook, text);
}

// The workbook could not be saved as `target`: `reason` in the system's
// words, `error` its error number when there is one.
inline platform::Failure cannotSaveWorkbook(const std::string& target, const std::string& reason, int error = 0) {
    return platform::Failure(platform::Failure::Kind::Workbook, "无法保存工作簿 " + target,
                             {target, "Cannot save the workbook as " + target + ": " + reason, error});
}

}  // namespace velloran::workbook
