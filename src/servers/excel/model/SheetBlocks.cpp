#include "SheetBlocks.h"

#include <algorithm>
#include <set>
#include <utility>

namespace velloran::workbook {

namespace {

constexpr std::size_t kMaxSheetName = 31;

std::string range(const Stretch& stretch) {
    return std::to_string(stretch.first + 1) + "-" + std::to_string(stretch.last + 1);
}

std::string sheetName(const Stretch& rows, const Stretch& columns) {
    bool laterRows = rows.first > 0, laterColumns = columns.first > 0;
    if (!laterRows && !laterColumns) return "Sheet1";
    if (!laterColumns) return std::string("Rows ").append(range(rows));
    if (!laterRows) return std::string("Columns ").append(range(columns));
    std::string both = std::string("R").append(range(rows)).append(" C").append(range(columns));
    if (both.size() <= kMaxSheetName) return both;
    return std::string("R").append(std::to_string(rows.first + 1)).append(" C").append(std::to_string(columns.first + 1));
}

}  // namespace

Stretch Stretch::ofBlock(std::uint32_t block, std::uint32_t capacity) {
    if (block == 0) return {0, capacity - 1, false};
    std::uint64_t first = capacity + std::uint64_t(block - 1) * (capacity - 1);
    std::uint64_t last = std::min<std::uint64_t>(first + capacity - 2, UINT32_MAX);
    return {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(last), true};
}

std::uint32_t Stretch::blockOf(std::uint32_t index, std::uint32_t capacity) {
    return index < capacity ? 0 : 1 + (index - capacity) / (capacity - 1);
}

// The blocks are gathered in a set: rows wider than one sheet pass from
// block to block on every row, and a list of each change would grow with
// the rows.
std::vector<SheetBlock> planSheets(const CellGrid& cells, SheetLimits limits) {
    using BlockNumbers = std::pair<std::uint32_t, std::uint32_t>;
    std::set<BlockNumbers> blocks{{0, 0}};
    BlockNumbers last{0, 0};
    cells.forEachRun(0, UINT32_MAX, [&](std::span<const Cell> run) {
        for (const Cell& cell : run) {
            if (cell.row() < limits.rows && cell.column() < limits.columns) continue;  // the first block, always listed
            BlockNumbers block{Stretch::blockOf(cell.row(), limits.rows), Stretch::blockOf(cell.column(), limits.columns)};
            if (block != last) blocks.insert(block);
            last = block;
        }
    });

    std::vector<SheetBlock> sheets;
    sheets.reserve(blocks.size());
    for (auto [rowBlock, columnBlock] : blocks) {
        Stretch rows = Stretch::ofBlock(rowBlock, limits.rows);
        Stretch columns = Stretch::ofBlock(columnBlock, limits.columns);
        sheets.push_back({sheetName(rows, columns), rows, columns});
    }
    return sheets;
}

}  // namespace velloran::workbook
