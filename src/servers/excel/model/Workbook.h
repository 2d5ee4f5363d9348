#pragma once
// One workbook as the automation object fills it: a single logical grid of
// cells holding texts or numbers, a number format on some of them, and
// column widths; nothing here knows a file format. Rows and columns count
// from 0; the grid may be larger than one sheet of any format holds, each
// writer cuts it as its format needs.
#include "CellGrid.h"
#include "NumberTable.h"
#include "TextTable.h"

#include <cstdint>
#include <map>
#include <string_view>

namespace velloran::workbook {

// The number formats a cell can have.
enum class CellFormat { General, Text, DateTime, Date };

class Workbook {
public:
    // Widest column, in characters.
    static constexpr double kMaxColumnWidth = 255;

    // `heldCells`: cells held in memory before settled rows go to a
    // temporary file (see CellGrid).
    // `placement`: how the texts are placed as they are added (see
    // TextPlacement), null for no file format's way.
    explicit Workbook(std::size_t heldCells = CellGrid::kHeldCells, std::unique_ptr<TextPlacement> placement = nullptr)
        : texts_(std::move(placement)), cells_(heldCells) {}

    // Stores `utf8` in the cell; empty text empties the cell but keeps its
    // format. Throws a workbook Failure for text a cell cannot hold.
    void setText(std::uint32_t row, std::uint32_t column, std::string_view utf8) {
        setText(row, column, TextTable::hashed(utf8));
    }
    // The same for a text already hashed (see prefetchText).
    void setText(std::uint32_t row, std::uint32_t column, const TextTable::HashedText& text);
    // Stores a number; a date-time is its number of days since 1899-12-30
    // 00:00 in a cell with the DateTime format, a date the same whole
    // number in a cell with the Date format. Throws a workbook Failure for a
    // number that is not finite.
    void setNumber(std::uint32_t row, std::uint32_t column, double value);
    void setFormat(std::uint32_t row, std::uint32_t column, CellFormat format);
    // Width in characters of the standard font's digit "0"; widths above
    // kMaxColumnWidth are held at it. Throws a workbook Failure for a negative or
    // non-finite width.
    void setColumnWidth(std::uint32_t column, double characters);

    // Prepares for a later setText of `text` (see TextTable::prefetch).
    void prefetchText(const TextTable::HashedText& text) const { texts_.prefetch(text); }

    const TextTable& texts() const { return texts_; }
    const NumberTable& numbers() const { return numbers_; }
    // Whether any cell was given the DateTime or the Date format.
    bool usesDates() const { return usesDates_; }
    // The cells, settled (see CellGrid::settle).
    const CellGrid& settledCells() {
        cells_.settle();
        return cells_;
    }
    // Bytes of cells, texts and numbers held in memory; the rest is in
    // temporary files.
    std::size_t heldBytes() const { return cells_.heldBytes() + texts_.heldBytes() + numbers_.heldBytes(); }
    // Column widths in 1/256 of a character, by column.
    const std::map<std::uint32_t, std::uint16_t>& columnWidths() const { return widths_; }

private:
    TextTable texts_;
    NumberTable numbers_;
    CellGrid cells_;
    std::map<std::uint32_t, std::uint16_t> widths_;
    bool usesDates_ = false;
};

}  // namespace velloran::workbook
