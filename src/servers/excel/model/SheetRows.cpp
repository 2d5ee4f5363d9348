#include "SheetRows.h"

#include <algorithm>

namespace velloran::workbook {

namespace {

using Cells = std::span<const Cell>;

bool columnBefore(const Cell& cell, std::uint32_t column) { return cell.column() < column; }
bool columnAfter(std::uint32_t column, const Cell& cell) { return column < cell.column(); }

RowSlice sliceOf(Cells row, std::uint32_t sheetRow, const Stretch& columns) {
    const Cell* lead = columns.repeatsFirst && !row.empty() && row.front().column() == 0 ? &row.front() : nullptr;
    if (!lead && columns.holds(row.front().column()) && columns.holds(row.back().column()))
        return {sheetRow, nullptr, row};  // the usual case: the whole row lies in the block
    auto from = std::lower_bound(row.begin(), row.end(), columns.first, columnBefore);
    auto to = std::upper_bound(from, row.end(), columns.last, columnAfter);
    return {sheetRow, lead, Cells(from, to)};
}

// The cells of the row that starts at `from`.
Cells rowAt(Cells cells, std::size_t from) {
    std::size_t to = from + 1;
    while (to < cells.size() && cells[to].row() == cells[from].row()) ++to;
    return cells.subspan(from, to - from);
}

}  // namespace

void forEachRow(const CellGrid& cells, const SheetBlock& block, const std::function<void(const RowSlice&)>& visit) {
    auto emitRows = [&](Cells run) {
        for (std::size_t at = 0; at < run.size();) {
            Cells row = rowAt(run, at);
            RowSlice slice = sliceOf(row, block.rows.sheetIndexOf(row.front().row()), block.columns);
            if (slice.size() > 0) visit(slice);
            at += row.size();
        }
    };
    if (block.rows.repeatsFirst) cells.forEachRun(0, 0, emitRows);
    cells.forEachRun(block.rows.first, block.rows.last, emitRows);
}

}  // namespace velloran::workbook
