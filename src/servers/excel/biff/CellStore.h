#pragma once
// The cells of one logical grid, twelve bytes each. Writes are appended as
// they come; `settle` orders them by row and column and folds repeated
// writes to one cell into the last value and the last format, so the store
// costs the same whether or not the caller writes in row order.
//
// A write that leaves a cell showing nothing (an emptying, or the general
// format) costs nothing unless an earlier write may lie at its position: the
// export writes an empty text for every item a document lacks, and those
// must not make the store grow with the sheet. Such writes out of row order
// are kept until the store next settles itself, which it does whenever the
// unsettled writes outnumber the settled cells, so memory stays in
// proportion to the cells that show. A store of writes to lay over cells
// kept elsewhere keeps those writes instead (Empties::Kept).
#include "GrowingArray.h"

#include <cstdint>
#include <span>

namespace velloran::biff {

class Cell {
public:
    static constexpr std::uint32_t kValueUntouched = 0x3FFFFFFF;
    static constexpr std::uint32_t kValueCleared = 0x3FFFFFFE;
    enum class Format : std::uint32_t { Untouched = 0, Text = 1, General = 2 };

    Cell() = default;
    Cell(std::uint32_t row, std::uint32_t column, std::uint32_t value, Format format)
        : row_(row), column_(column), payload_(value | (static_cast<std::uint32_t>(format) << 30)) {}

    std::uint32_t row() const { return row_; }
    std::uint32_t column() const { return column_; }
    // Index into the shared strings, or one of the two markers.
    std::uint32_t value() const { return payload_ & kValueUntouched; }
    Format format() const { return static_cast<Format>(payload_ >> 30); }

    bool hasText() const { return value() < kValueCleared; }
    bool hasTextFormat() const { return format() == Format::Text; }
    // Whether the settled cell shows up in the file at all.
    bool isWritten() const { return hasText() || hasTextFormat(); }

    // This cell with a later write to the same position laid over it.
    Cell overlaidWith(const Cell& later) const;

    friend bool operator<(const Cell& a, const Cell& b) {
        return a.row_ != b.row_ ? a.row_ < b.row_ : a.column_ < b.column_;
    }
    bool samePosition(const Cell& other) const { return row_ == other.row_ && column_ == other.column_; }
    // Row and column as one number, in the order of operator<.
    std::uint64_t position() const { return std::uint64_t{row_} << 32 | column_; }

private:
    std::uint32_t row_;
    std::uint32_t column_;
    std::uint32_t payload_;
};

class CellStore {
public:
    // Whether writes that leave a cell showing nothing are dropped once
    // settled, or kept to be laid over cells held elsewhere.
    enum class Empties { Dropped, Kept };
    explicit CellStore(Empties empties = Empties::Dropped) : keepsEmpties_(empties == Empties::Kept) {}

    // Rows and columns count from 0 here.
    void setValue(std::uint32_t row, std::uint32_t column, std::uint32_t stringIndex);
    void clearValue(std::uint32_t row, std::uint32_t column);
    void setTextFormat(std::uint32_t row, std::uint32_t column, bool text);

    // The cells in row-then-column order, one per position, only those that
    // hold text or the text format (with Empties::Kept, every one written).
    std::span<const Cell> settle();
    // Drops the first `count` cells of the span settle() just gave.
    void dropSettled(std::size_t count);

    // The writes held, settled or not: what the store's memory grows with.
    std::size_t size() const { return cells_.size(); }

private:
    void append(const Cell& cell);
    void sortKeepingWriteOrder();

    bool keepsEmpties_;
    GrowingArray<Cell> cells_;
    std::size_t settled_ = 0;  // cells_[0, settled_) are settled
    // One past the furthest position ever held: no cell lies at or after it.
    std::uint64_t end_ = 0;
    // Whether every cell since the last settle came after the one before it
    // and shows up in the file: then there is nothing to settle. Writes in
    // row order, as the export makes them, keep it so.
    bool inOrder_ = true;
};

}  // namespace velloran::biff
