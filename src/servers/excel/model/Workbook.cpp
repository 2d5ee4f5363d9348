#include "Workbook.h"

#include "WorkbookError.h"

#include <cmath>
#include <string>

namespace velloran::workbook {

void Workbook::setText(std::uint32_t row, std::uint32_t column, const TextTable::HashedText& text) {
    if (text.utf8.empty())
        cells_.clearValue(row, column);
    else
        cells_.setValue(row, column, texts_.add(text));
}

void Workbook::setNumber(std::uint32_t row, std::uint32_t column, double value) {
    cells_.setValue(row, column, Cell::kNumberBit | numbers_.add(value));
}

void Workbook::setFormat(std::uint32_t row, std::uint32_t column, CellFormat format) {
    static constexpr Cell::Format kStored[] = {Cell::Format::General, Cell::Format::Text, Cell::Format::DateTime,
                                               Cell::Format::Date};
    usesDates_ = usesDates_ || format == CellFormat::DateTime || format == CellFormat::Date;
    cells_.setFormat(row, column, kStored[static_cast<int>(format)]);
}

void Workbook::setColumnWidth(std::uint32_t column, double characters) {
    if (!std::isfinite(characters) || characters < 0)
        throw workbookFailure("A column width must be a number of characters from 0 to 255, not " +
                              std::to_string(characters));
    double held = std::min(characters, kMaxColumnWidth);
    widths_[column] = static_cast<std::uint16_t>(std::lround(held * 256));
}

}  // namespace velloran::workbook
