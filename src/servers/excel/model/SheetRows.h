#pragma once
// Walks the rows of one sheet block in sheet order, each row with the cells
// that the block shows.
#include "CellGrid.h"
#include "SheetBlocks.h"

#include <cstdint>
#include <functional>
#include <span>

namespace velloran::workbook {

struct RowSlice {
    std::uint32_t sheetRow;
    const Cell* lead;             // the copy of column 0 on a later column block, or null
    std::span<const Cell> body;   // the cells of the block's own columns

    std::size_t size() const { return (lead ? 1 : 0) + body.size(); }
};

// Calls `visit` for each row of `block` that has cells, in sheet row order.
// `cells` are settled; a row's cells live until `visit` returns.
void forEachRow(const CellGrid& cells, const SheetBlock& block, const std::function<void(const RowSlice&)>& visit);

}  // namespace velloran::workbook
