#pragma once
// The cells of the workbook's logical grid, most of them in a temporary
// file. Writes come mostly in row order: once the cells held in memory pass
// a limit, every row more than a window of rows behind the furthest row
// written is settled and spilled to the file, so memory stays the same
// however many rows the grid gets. A later write into a spilled row (a
// header filled in at the end) is kept in memory apart and merged into the
// file when the grid is settled for saving.
#include "CellStore.h"
#include "SpillFile.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace velloran::workbook {

class CellGrid {
public:
    // Cells held in memory before the settled rows go to the file.
    static constexpr std::size_t kHeldCells = std::size_t{1} << 18;
    // Rows behind the furthest row written that stay in memory.
    static constexpr std::uint32_t kWindowRows = 64;

    explicit CellGrid(std::size_t heldCells = kHeldCells);

    // As on CellStore. Throws a workbook Failure when the temporary file fails.
    void setValue(std::uint32_t row, std::uint32_t column, std::uint32_t value);
    void clearValue(std::uint32_t row, std::uint32_t column);
    void setFormat(std::uint32_t row, std::uint32_t column, Cell::Format format);

    // Settles every write so far, for forEachRun.
    void settle();

    // Calls `visit` with the settled cells of the rows from `firstRow` to
    // `lastRow`, in row-then-column order, one run of whole rows at a time;
    // a run lives until `visit` returns. Valid after settle() until the next
    // write.
    using RunVisitor = std::function<void(std::span<const Cell>)>;
    void forEachRun(std::uint32_t firstRow, std::uint32_t lastRow, const RunVisitor& visit) const;
    // One past the furthest column of any settled cell, 0 when there is
    // none; valid after settle(). Counted as rows are spilled, so that no
    // writer has to read the cells twice to learn it.
    std::uint32_t columns() const { return columns_; }

    // Bytes held in memory: what the grid's memory grows with.
    std::size_t heldBytes() const;

private:
    // Where the file's cells of a row start: every cell before `cell` lies
    // in an earlier row.
    struct Mark {
        std::uint32_t row;
        std::uint64_t cell;
    };

    template <typename Write>
    void route(std::uint32_t row, const Write& write);
    void spillBehindWindow();
    void mergeLateWrites();
    void readSpilled(std::uint32_t firstRow, std::uint32_t lastRow, const RunVisitor& visit) const;

    std::size_t heldCells_;
    std::size_t nextSpillAt_;
    CellStore recent_;                            // rows from spilledRows_ on
    CellStore late_{CellStore::Empties::Kept};    // writes into spilled rows
    SpillFile spilled_;                           // settled cells of rows before spilledRows_
    std::vector<Mark> marks_;
    std::uint32_t spilledRows_ = 0;
    std::uint32_t furthestRow_ = 0;
    std::uint32_t spilledColumns_ = 0;  // columns() of the spilled cells
    std::uint32_t columns_ = 0;
    std::span<const Cell> settledRecent_;
};

}  // namespace velloran::workbook
