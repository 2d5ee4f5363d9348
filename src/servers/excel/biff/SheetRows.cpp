#include "SheetRows.h"

#include <algorithm>

namespace velloran::biff {

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

void forEachRow(Cells cells, const SheetBlock& block, const std::function<void(const RowSlice&)>& visit) {
    auto emit = [&](Cells row) {
        RowSlice slice = sliceOf(row, block.rows.sheetIndexOf(row.front().row()), block.columns);
        if (slice.size() > 0) visit(slice);
    };
    if (block.rows.repeatsFirst && !cells.empty() && cells.front().row() == 0) emit(rowAt(cells, 0));
    auto start = std::lower_bound(cells.begin(), cells.end(), block.rows.first,
                                  [](const Cell& cell, std::uint32_t row) { return cell.row() < row; });
    for (std::size_t at = start - cells.begin(); at < cells.size() && cells[at].row() <= block.rows.last;) {
        Cells row = rowAt(cells, at);
        emit(row);
        at += row.size();
    }
}

}  // namespace velloran::biff
