#include "NumberTable.h"

#include "WorkbookError.h"

#include <cmath>

namespace velloran::workbook {

std::uint32_t NumberTable::add(double value) {
    if (!std::isfinite(value)) throw workbookFailure("A cell number must be finite, not " + std::to_string(value));
    if (size_ >= kMaxNumbers) throw workbookFailure("The workbook holds more numbers than it can take");
    log_.append({reinterpret_cast<const char*>(&value), sizeof value});
    return size_++;
}

}  // namespace velloran::workbook
