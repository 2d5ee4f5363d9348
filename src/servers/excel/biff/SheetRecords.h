#pragma once
// One worksheet substream: the cells and column widths of one sheet block.
#include "CellGrid.h"
#include "NumberTable.h"
#include "RecordStream.h"
#include "SheetBlocks.h"

#include <cstdint>
#include <map>

namespace velloran::workbook::biff {

// What one .xls sheet holds.
constexpr SheetLimits kSheetLimits{65536, 256};

// The used area of a sheet, in sheet rows and columns; "end" is one past.
struct SheetExtent {
    std::uint32_t firstRow = 0, endRow = 0;
    std::uint16_t firstColumn = 0, endColumn = 0;
};

struct SheetStats {
    SheetExtent extent;
    std::uint32_t textCells = 0;
};

struct SheetContent {
    const CellGrid* cells;                                     // settled
    const NumberTable* numbers;
    const std::map<std::uint32_t, std::uint16_t>* columnWidths;  // by logical column
};

struct SheetMeasure {
    SheetStats stats;
    std::uint64_t bytes;
};

// What writeSheet writes for `block`, found by counting instead of writing:
// its used area, its text cells and its size.
SheetMeasure measureSheet(const SheetContent& content, const SheetBlock& block, bool active);

// Writes the sheet of `block`; `extent` (from measureSheet) goes into the
// DIMENSIONS record.
void writeSheet(RecordStream& out, const SheetContent& content, const SheetBlock& block, const SheetExtent& extent,
                bool active);

}  // namespace velloran::workbook::biff
