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

namespace velloran::workbook {

// A cell write or a settled cell: its position, a value (a text or a
// number, by its number in the workbook's tables, or one of two markers)
// and a number format, in twelve bytes. The format's two low bits go with
// the value, its high bit is the column's top one: columns count below
// 2^31, as the automation's positions do.
class Cell {
public:
    static constexpr std::uint32_t kValueUntouched = 0x3FFFFFFF;
    static constexpr std::uint32_t kValueCleared = 0x3FFFFFFE;
    // Set in the value of a number; a text's value is its number alone.
    static constexpr std::uint32_t kNumberBit = 0x20000000;
    // Untouched: this write leaves the format as it was. DateTime shows a
    // number as a date and time, Date as a date alone.
    enum class Format : std::uint32_t { Untouched = 0, Text = 1, General = 2, DateTime = 3, Date = 4 };

    Cell() = default;
    Cell(std::uint32_t row, std::uint32_t column, std::uint32_t value, Format format)
        : row_(row),
          column_(column | (static_cast<std::uint32_t>(format) >> 2) << 31),
          payload_(value | (static_cast<std::uint32_t>(format) & 3) << 30) {}

    std::uint32_t row() const { return row_; }
    std::uint32_t column() const { return column_ & kColumnMask; }
    // The value: a text's or a number's index with kNumberBit, or a marker.
    std::uint32_t value() const { return payload_ & kValueUntouched; }
    Format format() const { return static_cast<Format>(payload_ >> 30 | (column_ >> 31) << 2); }

    bool hasText() const { return value() < kNumberBit; }
    bool hasNumber() const { return value() >= kNumberBit && value() < kValueCleared; }
    std::uint32_t textIndex() const { return value(); }
    std::uint32_t numberIndex() const { return value() & ~kNumberBit; }
    bool hasTextFormat() const { return format() == Format::Text; }
    bool hasDateTimeFormat() const { return format() == Format::DateTime; }
    bool hasDateFormat() const { return format() == Format::Date; }
    // Whether the settled cell shows up in the file at all: a value, or a
    // format other than the general one.
    bool isWritten() const {
        return value() < kValueCleared || hasTextFormat() || hasDateTimeFormat() || hasDateFormat();
    }

    // This cell with a later write to the same position laid over it.
    Cell overlaidWith(const Cell& later) const;

    friend bool operator<(const Cell& a, const Cell& b) {
        return a.row_ != b.row_ ? a.row_ < b.row_ : a.column() < b.column();
    }
    bool samePosition(const Cell& other) const { return row_ == other.row_ && column() == other.column(); }
    // Row and column as one number, in the order of operator<.
    std::uint64_t position() const { return std::uint64_t{row_} << 32 | column(); }

private:
    static constexpr std::uint32_t kColumnMask = 0x7FFFFFFF;

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

    // Rows and columns count from 0 here. `value` is a text's number, or a
    // number's with Cell::kNumberBit. Positions and values come as plain
    // numbers, not as a Cell: a Cell made in one function and handed to
    // another is put together in memory and read back at once, which stalls
    // the processor on every cell.
    void setValue(std::uint32_t row, std::uint32_t column, std::uint32_t value);
    void clearValue(std::uint32_t row, std::uint32_t column);
    void setFormat(std::uint32_t row, std::uint32_t column, Cell::Format format);

    // The cells in row-then-column order, one per position, only those that
    // show up in the file (with Empties::Kept, every one written).
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

}  // namespace velloran::workbook
