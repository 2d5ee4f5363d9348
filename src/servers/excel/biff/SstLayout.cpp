#include "SstLayout.h"

#include <cstring>

namespace velloran::workbook::biff {

namespace {

// Breaks are held in memory, and read back, this much at a time.
constexpr std::size_t kHeldBreakBytes = 64 * 1024;

// A break in 8 bytes: the text position, then whether it splits a string
// and whether that string is wide, in the two lowest bits.
std::uint64_t packed(const RecordBreak& at) {
    return at.textPosition << 2 | std::uint64_t{at.splitsString} << 1 | std::uint64_t{at.wide};
}

RecordBreak unpacked(std::uint64_t value) { return {value >> 2, (value & 2) != 0, (value & 1) != 0}; }

}  // namespace

CountedRecords::CountedRecords() : breaks_(kHeldBreakBytes) {}

void CountedRecords::startRecord(const RecordBreak& at) {
    recordStart_ = position_;
    if (position_ - handedOver_ >= RecordStream::kFlushAt) {
        handedOver_ = position_;
        ++handOvers_;
    }
    position_ += RecordStream::kHeaderSize;
    const std::uint64_t value = packed(at);
    breaks_.append({reinterpret_cast<const char*>(&value), sizeof value});
}

void CountedRecords::forEachBreak(const std::function<void(const RecordBreak&)>& visit) const {
    LogWindow window(breaks_, kHeldBreakBytes);
    for (std::uint64_t at = 0; at < breaks_.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t value;
        std::memcpy(&value, window.at(at, sizeof value), sizeof value);
        visit(unpacked(value));
    }
}

}  // namespace velloran::workbook::biff
