#pragma once
// The workbook's numbers (and date-times, which are numbers of days): every
// number a cell was given, in the order given, in a spilled log, and read
// back by number.
#include "SpilledLog.h"

#include <cstdint>

namespace velloran::workbook {

class NumberTable {
public:
    // Most numbers a workbook holds (see Cell).
    static constexpr std::uint32_t kMaxNumbers = (1u << 29) - 3;

    NumberTable() : log_(kHeldBytes) {}

    // Number of the value in the table. Throws a workbook Failure for a value
    // that is not finite, or beyond kMaxNumbers.
    std::uint32_t add(double value);

    std::uint32_t size() const { return size_; }
    std::size_t heldBytes() const { return log_.heldBytes(); }

private:
    friend class NumberReader;
    static constexpr std::size_t kHeldBytes = 64 * 1024;

    SpilledLog log_;
    std::uint32_t size_ = 0;
};

class NumberReader {
public:
    explicit NumberReader(const NumberTable& table) : window_(table.log_, kWindowBytes) {}

    double at(std::uint32_t index) {
        double value;
        std::memcpy(&value, window_.at(std::uint64_t{index} * sizeof value, sizeof value), sizeof value);
        return value;
    }

private:
    static constexpr std::size_t kWindowBytes = 256 * 1024;
    LogWindow window_;
};

}  // namespace velloran::workbook
