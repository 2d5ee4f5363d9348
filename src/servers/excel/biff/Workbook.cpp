#include "Workbook.h"

#include "WorkbookError.h"

#include <cmath>
#include <string>

namespace velloran::biff {

void Workbook::setText(std::uint32_t row, std::uint32_t column, const SharedStrings::HashedText& text) {
    if (text.utf8.empty())
        cells_.clearValue(row, column);
    else
        cells_.setValue(row, column, strings_.add(text));
}

void Workbook::setTextFormat(std::uint32_t row, std::uint32_t column, bool text) {
    cells_.setTextFormat(row, column, text);
}

void Workbook::setColumnWidth(std::uint32_t column, double characters) {
    if (!std::isfinite(characters) || characters < 0)
        throw WorkbookError("A column width must be a number of characters from 0 to 255, not " +
                            std::to_string(characters));
    double held = std::min(characters, kMaxColumnWidth);
    widths_[column] = static_cast<std::uint16_t>(std::lround(held * 256));
}

}  // namespace velloran::biff
