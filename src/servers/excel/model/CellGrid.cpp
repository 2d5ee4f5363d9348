#include "CellGrid.h"

#include <algorithm>
#include <type_traits>

namespace velloran::workbook {

static_assert(std::is_trivially_copyable_v<Cell>, "cells go to the file as they are in memory");

namespace {

// Cells read from the file at a time, and written at a time when merging.
constexpr std::size_t kRunCells = std::size_t{1} << 16;

using Cells = std::span<const Cell>;

bool rowBefore(const Cell& cell, std::uint32_t row) { return cell.row() < row; }
bool rowAfter(std::uint32_t row, const Cell& cell) { return row < cell.row(); }

Cells rowsWithin(Cells cells, std::uint32_t firstRow, std::uint32_t lastRow) {
    auto from = std::lower_bound(cells.begin(), cells.end(), firstRow, rowBefore);
    auto to = std::upper_bound(from, cells.end(), lastRow, rowAfter);
    return {from, to};
}

// The cells before the last row of `cells`, which may go on past them.
std::size_t wholeRows(Cells cells) {
    if (cells.empty()) return 0;
    return static_cast<std::size_t>(std::lower_bound(cells.begin(), cells.end(), cells.back().row(), rowBefore) -
                                    cells.begin());
}

// One past the furthest column of `cells`, or `columns` when that is more.
std::uint32_t columnsOf(Cells cells, std::uint32_t columns) {
    for (const Cell& cell : cells) columns = std::max(columns, cell.column() + 1);
    return columns;
}

// Appends whole rows of settled cells to a spill file, marks where they
// start and counts their columns into `columns`.
template <typename Marks>
void spillRows(SpillFile& file, Marks& marks, std::uint32_t& columns, Cells rows) {
    if (rows.empty()) return;
    columns = columnsOf(rows, columns);
    marks.push_back({rows.front().row(), file.size() / sizeof(Cell)});
    file.write(reinterpret_cast<const char*>(rows.data()), rows.size_bytes());
}

// Lays the sorted writes `late` over the sorted cells `cells` into `out`,
// keeping only the cells that show.
void mergeInto(std::vector<Cell>& out, Cells cells, Cells late) {
    std::size_t i = 0, j = 0;
    auto keep = [&](const Cell& cell) {
        if (cell.isWritten()) out.push_back(cell);
    };
    while (i < cells.size() || j < late.size()) {
        if (j == late.size() || (i < cells.size() && cells[i] < late[j]))
            out.push_back(cells[i++]);
        else if (i == cells.size() || late[j] < cells[i])
            keep(late[j++]);
        else
            keep(cells[i++].overlaidWith(late[j++]));
    }
}

}  // namespace

CellGrid::CellGrid(std::size_t heldCells) : heldCells_(heldCells), nextSpillAt_(heldCells) {}

template <typename Write>
void CellGrid::route(std::uint32_t row, const Write& write) {
    if (row < spilledRows_) return write(late_);
    write(recent_);
    furthestRow_ = std::max(furthestRow_, row);
    if (recent_.size() >= nextSpillAt_) spillBehindWindow();
}

void CellGrid::setValue(std::uint32_t row, std::uint32_t column, std::uint32_t value) {
    route(row, [&](CellStore& store) { store.setValue(row, column, value); });
}

void CellGrid::clearValue(std::uint32_t row, std::uint32_t column) {
    route(row, [&](CellStore& store) { store.clearValue(row, column); });
}

void CellGrid::setFormat(std::uint32_t row, std::uint32_t column, Cell::Format format) {
    route(row, [&](CellStore& store) { store.setFormat(row, column, format); });
}

// The next spill waits for another heldCells_ writes, so that writes that
// keep to the window (or out of any order) cost one settle per that many.
void CellGrid::spillBehindWindow() {
    std::uint32_t boundary = furthestRow_ >= kWindowRows ? furthestRow_ - kWindowRows + 1 : 0;
    if (boundary > spilledRows_) {
        Cells cells = recent_.settle();
        auto cut = static_cast<std::size_t>(std::lower_bound(cells.begin(), cells.end(), boundary, rowBefore) -
                                            cells.begin());
        spillRows(spilled_, marks_, spilledColumns_, cells.first(cut));
        recent_.dropSettled(cut);
        spilledRows_ = boundary;
    }
    nextSpillAt_ = recent_.size() + heldCells_;
}

void CellGrid::settle() {
    mergeLateWrites();
    settledRecent_ = recent_.settle();
    columns_ = columnsOf(settledRecent_, spilledColumns_);
}

// The slow path for writes into spilled rows: the file is copied into a new
// one with the writes laid over it.
void CellGrid::mergeLateWrites() {
    Cells late = late_.settle();
    if (late.empty()) return;
    SpillFile merged;
    std::vector<Mark> marks;
    std::uint32_t columns = 0;
    std::vector<Cell> out;
    out.reserve(kRunCells);
    std::size_t next = 0;
    auto flush = [&] {
        spillRows(merged, marks, columns, out);
        out.clear();
    };
    readSpilled(0, spilledRows_ - 1, [&](Cells run) {
        std::size_t end = static_cast<std::size_t>(
            std::upper_bound(late.begin() + next, late.end(), run.back().row(), rowAfter) - late.begin());
        mergeInto(out, run, late.subspan(next, end - next));
        next = end;
        if (out.size() >= kRunCells) flush();
    });
    mergeInto(out, {}, late.subspan(next));
    flush();
    spilled_ = std::move(merged);
    marks_ = std::move(marks);
    spilledColumns_ = columns;
    late_ = CellStore(CellStore::Empties::Kept);
}

void CellGrid::forEachRun(std::uint32_t firstRow, std::uint32_t lastRow, const RunVisitor& visit) const {
    if (firstRow < spilledRows_) readSpilled(firstRow, std::min(lastRow, spilledRows_ - 1), visit);
    Cells held = rowsWithin(settledRecent_, firstRow, lastRow);
    if (!held.empty()) visit(held);
}

// Reads the file from the last mark at or before `firstRow`, a buffer at a
// time; the last row in the buffer waits for the next read unless the file
// ends, and a row larger than the buffer makes the buffer grow.
void CellGrid::readSpilled(std::uint32_t firstRow, std::uint32_t lastRow, const RunVisitor& visit) const {
    const std::uint64_t total = spilled_.size() / sizeof(Cell);
    auto mark = std::upper_bound(marks_.begin(), marks_.end(), firstRow,
                                 [](std::uint32_t row, const Mark& m) { return row < m.row; });
    std::uint64_t next = mark == marks_.begin() ? 0 : (mark - 1)->cell;
    std::vector<Cell> buffer(kRunCells);
    std::size_t held = 0;
    while (next < total) {
        if (held == buffer.size()) buffer.resize(2 * buffer.size());
        auto got = static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size() - held, total - next));
        spilled_.read(next * sizeof(Cell), reinterpret_cast<char*>(buffer.data() + held), got * sizeof(Cell));
        next += got;
        held += got;
        Cells read(buffer.data(), held);
        std::size_t whole = next == total ? held : wholeRows(read);
        Cells run = rowsWithin(read.first(whole), firstRow, lastRow);
        if (!run.empty()) visit(run);
        if (whole > 0 && read[whole - 1].row() >= lastRow) return;
        std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(whole), buffer.begin() + static_cast<std::ptrdiff_t>(held),
                  buffer.begin());
        held -= whole;
    }
}

std::size_t CellGrid::heldBytes() const {
    return (recent_.size() + late_.size()) * sizeof(Cell) + marks_.capacity() * sizeof(Mark);
}

}  // namespace velloran::workbook
