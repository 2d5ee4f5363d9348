#include "CellStore.h"

#include <algorithm>

namespace velloran::workbook {

Cell Cell::overlaidWith(const Cell& later) const {
    std::uint32_t value = later.value() == kValueUntouched ? this->value() : later.value();
    Format format = later.format() == Format::Untouched ? this->format() : later.format();
    return Cell(row_, column(), value, format);
}

namespace {

// Writes held unsettled before the store settles itself, at the least.
constexpr std::size_t kUnsettledAtLeast = 65536;

}  // namespace

// A write that shows nothing on its own, past every position held, would
// only be dropped by the next settle. The others are settled once the
// unsettled writes outnumber the settled cells: that bounds what writes out
// of order hold, and each settle's work is in proportion to the writes
// since the one before. Writes in row order settle without any work.
void CellStore::append(const Cell& cell) {
    if (!keepsEmpties_ && !cell.isWritten() && cell.position() >= end_) return;
    inOrder_ = inOrder_ && cell.isWritten() && (cells_.empty() || cells_[cells_.size() - 1] < cell);
    cells_.push_back(cell);
    end_ = std::max(end_, cell.position() + 1);
    if (cells_.size() - settled_ > std::max(settled_, kUnsettledAtLeast)) settle();
}

void CellStore::setValue(std::uint32_t row, std::uint32_t column, std::uint32_t value) {
    append(Cell(row, column, value, Cell::Format::Untouched));
}

void CellStore::clearValue(std::uint32_t row, std::uint32_t column) {
    append(Cell(row, column, Cell::kValueCleared, Cell::Format::Untouched));
}

void CellStore::setFormat(std::uint32_t row, std::uint32_t column, Cell::Format format) {
    append(Cell(row, column, Cell::kValueUntouched, format));
}

namespace {

// Merges the sorted runs [first, middle) and [middle, last), touching only
// the stretch where they overlap; the first run wins ties.
void mergeRuns(Cell* first, Cell* middle, Cell* last) {
    if (first == middle || middle == last || !(*middle < *(middle - 1))) return;
    auto from = std::upper_bound(first, middle, *middle);
    auto to = std::lower_bound(middle, last, *(middle - 1));
    std::inplace_merge(from, middle, to);
}

}  // namespace

// Writes mostly arrive in row order, with short stretches out of order (a
// header row filled right to left). Sorting only the stretch between the
// sorted head and the sorted tail and merging keeps that case linear; ties
// keep their write order so the last write wins.
void CellStore::sortKeepingWriteOrder() {
    auto head = std::is_sorted_until(cells_.begin(), cells_.end());
    if (head == cells_.end()) return;
    auto tail = cells_.end();
    while (tail - 1 > head && !(*(tail - 1) < *(tail - 2))) --tail;
    std::stable_sort(head, tail);
    mergeRuns(cells_.begin(), head, tail);
    mergeRuns(cells_.begin(), tail, cells_.end());
}

std::span<const Cell> CellStore::settle() {
    if (inOrder_) settled_ = cells_.size();
    if (settled_ == cells_.size()) return {cells_.begin(), cells_.size()};
    sortKeepingWriteOrder();
    std::size_t kept = 0;
    for (std::size_t next = 0; next < cells_.size();) {
        Cell merged = cells_[next];
        for (++next; next < cells_.size() && cells_[next].samePosition(merged); ++next)
            merged = merged.overlaidWith(cells_[next]);
        if (merged.isWritten() || keepsEmpties_) cells_[kept++] = merged;
    }
    cells_.truncate(kept);
    settled_ = kept;
    inOrder_ = true;
    return {cells_.begin(), cells_.size()};
}

void CellStore::dropSettled(std::size_t count) {
    cells_.dropFront(count);
    settled_ -= std::min(settled_, count);
}

}  // namespace velloran::workbook
