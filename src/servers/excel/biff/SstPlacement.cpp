#include "SstPlacement.h"

#include "WorkbookError.h"

#include <limits>

namespace velloran::workbook::biff {

namespace {

// Positions are first kept for every 8th string; past kMostKept of them
// every other one is dropped, up to a spacing that still lets an EXTSST
// bucket's size fit its 16 bits. The spacing stays a power of two.
constexpr std::uint32_t kFirstKeptEvery = 8;
constexpr std::size_t kMostKept = 8192;
constexpr std::uint32_t kWidestKeptEvery = 8192;
constexpr std::uint64_t kMaxBytes = std::numeric_limits<std::uint32_t>::max();

}  // namespace

SstPlacement::SstPlacement() : keptEvery_(kFirstKeptEvery) {}

bool SstPlacement::place(const CompactText& text) {
    const std::uint32_t index = size_++;
    LaidString laid = layString(records_, text);
    if ((index & (keptEvery_ - 1)) == 0) keepPosition(laid);  // a power of two: no division for every text
    return laid.whole;
}

void SstPlacement::keepPosition(const LaidString& laid) {
    if (laid.position > kMaxBytes) return;  // byteSize() refuses the table
    positions_.push_back({static_cast<std::uint32_t>(laid.position), static_cast<std::uint32_t>(laid.inRecord)});
    if (positions_.size() < kMostKept || keptEvery_ >= kWidestKeptEvery) return;
    for (std::size_t i = 0; 2 * i < positions_.size(); ++i) positions_[i] = positions_[2 * i];
    positions_.resize((positions_.size() + 1) / 2);
    keptEvery_ *= 2;
}

std::uint64_t SstPlacement::byteSize() const {
    if (records_.position() > kMaxBytes)
        throw workbookFailure("The workbook holds more text than one .xls file can take (4 GB)");
    return records_.position();
}

}  // namespace velloran::workbook::biff
