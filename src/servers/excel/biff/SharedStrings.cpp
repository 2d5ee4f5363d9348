#include "SharedStrings.h"

#include "BiffText.h"
#include "WorkbookError.h"

#include <functional>
#include <limits>

namespace velloran::biff {

namespace {

// Indexes above this are reserved by the cell store for its markers.
constexpr std::uint32_t kMaxStrings = 0x3FFFFFFD;
// The most UTF-8 bytes that kMaxUnits code units can take.
constexpr std::size_t kMaxUtf8Bytes = SharedStrings::kMaxUnits * 3;

[[noreturn]] void throwTooLong(std::size_t units) {
    throw WorkbookError("A cell text of " + std::to_string(units) +
                        " characters is longer than a cell holds (32767 characters)");
}

}  // namespace

StoredString StoredString::of(std::string_view entry) {
    auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(entry[i]); };
    return {static_cast<std::uint32_t>(byte(0) | (byte(1) << 8)), (byte(2) & 0x01) != 0,
            entry.substr(SharedStrings::kHeaderSize)};
}

std::string_view SharedStrings::entry(std::uint32_t index) const {
    std::size_t start = offsets_[index];
    auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(pool_[start + i]); };
    std::size_t units = byte(0) | (byte(1) << 8);
    std::size_t length = kHeaderSize + units * ((byte(2) & 0x01) ? 2 : 1);
    return std::string_view(pool_).substr(start, length);
}

std::uint32_t SharedStrings::add(std::string_view utf8) {
    if (utf8.size() > kMaxUtf8Bytes) throwTooLong(utf8.size());
    std::size_t start = pool_.size();
    pool_.append(kHeaderSize, '\0');
    EncodedText encoded;
    try {
        encoded = appendBiffCharacters(utf8, pool_);
    } catch (...) {
        pool_.resize(start);
        throw;
    }
    if (encoded.units > kMaxUnits) {
        pool_.resize(start);
        throwTooLong(encoded.units);
    }
    pool_[start] = static_cast<char>(encoded.units & 0xFF);
    pool_[start + 1] = static_cast<char>(encoded.units >> 8);
    pool_[start + 2] = static_cast<char>(characterFlags(encoded.wide));

    std::string_view stored = std::string_view(pool_).substr(start);
    std::size_t hash = std::hash<std::string_view>{}(stored);
    Recent& cached = recent_[hash & (kCacheSize - 1)];
    if (cached.index != 0 && cached.hash == static_cast<std::uint32_t>(hash) && entry(cached.index - 1) == stored) {
        pool_.resize(start);
        return cached.index - 1;
    }
    if (pool_.size() > std::numeric_limits<std::uint32_t>::max() || offsets_.size() >= kMaxStrings) {
        pool_.resize(start);
        throw WorkbookError("The workbook holds more text than one file can take (4 GB)");
    }
    offsets_.push_back(static_cast<std::uint32_t>(start));
    cached = {static_cast<std::uint32_t>(hash), size()};
    return size() - 1;
}

}  // namespace velloran::biff
