#pragma once
// One workbook as the automation object fills it: a single logical grid of
// text cells, the text format on some of them, and column widths. Rows and
// columns count from 0 here; the grid may be larger than one sheet holds,
// the writer cuts it into sheet-sized blocks.
#include "CellGrid.h"
#include "SharedStrings.h"

#include <cstdint>
#include <map>
#include <string_view>

namespace velloran::biff {

class Workbook {
public:
    // Widest column, in characters.
    static constexpr double kMaxColumnWidth = 255;

    // `heldCells`: cells held in memory before settled rows go to a
    // temporary file (see CellGrid).
    explicit Workbook(std::size_t heldCells = CellGrid::kHeldCells) : cells_(heldCells) {}

    // Stores `utf8` in the cell; empty text empties the cell but keeps its
    // format. Throws WorkbookError for text a cell cannot hold.
    void setText(std::uint32_t row, std::uint32_t column, std::string_view utf8) {
        setText(row, column, SharedStrings::hashed(utf8));
    }
    // The same for a text already hashed (see prefetchText).
    void setText(std::uint32_t row, std::uint32_t column, const SharedStrings::HashedText& text);
    // Gives the cell the text format "@" (true) or the general format.
    void setTextFormat(std::uint32_t row, std::uint32_t column, bool text);
    // Width in characters of the standard font's digit "0"; widths above
    // kMaxColumnWidth are held at it. Throws WorkbookError for a negative or
    // non-finite width.
    void setColumnWidth(std::uint32_t column, double characters);

    // Prepares for a later setText of `text` (see SharedStrings::prefetch).
    void prefetchText(const SharedStrings::HashedText& text) const { strings_.prefetch(text); }

    const SharedStrings& strings() const { return strings_; }
    // The cells, settled (see CellGrid::settle).
    const CellGrid& settledCells() {
        cells_.settle();
        return cells_;
    }
    // Bytes of cells and texts held in memory; the rest is in temporary files.
    std::size_t heldBytes() const { return cells_.heldBytes() + strings_.heldBytes(); }
    // Column widths in 1/256 of a character, by column.
    const std::map<std::uint32_t, std::uint16_t>& columnWidths() const { return widths_; }

private:
    SharedStrings strings_;
    CellGrid cells_;
    std::map<std::uint32_t, std::uint16_t> widths_;
};

}  // namespace velloran::biff
