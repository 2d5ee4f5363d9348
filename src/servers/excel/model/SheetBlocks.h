#pragma once
// Cutting the logical grid into sheets for a format whose sheets hold a
// fixed number of rows and columns (65,536 x 256 for .xls). Rows past the
// first sheet go to further sheets of one row less that start with a copy
// of row 1; columns past the first sheet go to further sheets of one column
// less that start with a copy of column 1. A block is made a sheet only
// when it holds cells of its own, and its sheet name says which rows and
// columns it holds.
#include "CellGrid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velloran::workbook {

// What one sheet of a format holds.
struct SheetLimits {
    std::uint32_t rows;
    std::uint32_t columns;
};

// The logical rows (or columns) of one block, counted from 0.
struct Stretch {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool repeatsFirst = false;  // the block starts with a copy of row (column) 0

    bool holds(std::uint32_t index) const { return index >= first && index <= last; }
    std::uint32_t sheetIndexOf(std::uint32_t index) const {
        return repeatsFirst ? (index == 0 ? 0 : index - first + 1) : index - first;
    }
    // Block number `block` of a dimension whose sheets hold `capacity`.
    static Stretch ofBlock(std::uint32_t block, std::uint32_t capacity);
    static std::uint32_t blockOf(std::uint32_t index, std::uint32_t capacity);
};

struct SheetBlock {
    std::string name;
    Stretch rows;
    Stretch columns;
};

// The sheets for `cells` (settled, in row order) in sheets of `limits`:
// always the first block, then every other block that holds a cell, by
// rows then columns.
std::vector<SheetBlock> planSheets(const CellGrid& cells, SheetLimits limits);

}  // namespace velloran::workbook
