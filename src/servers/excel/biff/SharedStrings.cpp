#include "SharedStrings.h"

#include "BiffText.h"
#include "WorkbookError.h"

#include <cstring>

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

std::uint64_t mixed(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDull;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ull;
    return value ^ (value >> 33);
}

std::uint64_t wordAt(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// A hash of `bytes` for the cache, eight bytes at a time; the last word
// overlaps the one before it when the size is not a multiple of eight. The
// steps only multiply, the final mix spreads the result: the cache needs a
// fast hash more than a perfect one, as equal hashes are compared anyway.
std::uint64_t hashOf(std::string_view bytes) {
    std::uint64_t hash = bytes.size();
    auto add = [&](std::uint64_t word) { hash = (hash ^ word) * 0x9E3779B97F4A7C15ull; };
    if (bytes.size() < 8) {
        for (char c : bytes) add(static_cast<unsigned char>(c));
        return mixed(hash);
    }
    for (std::size_t at = 0; at + 8 < bytes.size(); at += 8) add(wordAt(bytes.data() + at));
    add(wordAt(bytes.data() + bytes.size() - 8));
    return mixed(hash);
}

// Whether the string stored at `stored` is `text`; equal headers mean
// equal lengths.
bool isStored(const char* stored, const BiffCharacters& text) {
    const StringHeader header = stringHeader(text.encoding);
    return std::memcmp(stored, header.data(), header.size()) == 0 &&
           std::memcmp(stored + header.size(), text.bytes.data(), text.bytes.size()) == 0;
}

}  // namespace

void SharedStrings::checkThoroughly(std::string_view utf8) {
    if (utf8.size() > kMaxUtf8Bytes) throwTooLong(utf8.size());
    EncodedText text = measureText(utf8);
    if (text.units > kMaxUnits) throwTooLong(text.units);
}

BiffCharacters SharedStrings::encode(std::string_view utf8) {
    if (utf8.size() > kMaxUtf8Bytes) throwTooLong(utf8.size());
    BiffCharacters text = biffCharacters(utf8, buffer_);
    if (text.encoding.units > kMaxUnits) throwTooLong(text.encoding.units);
    return text;
}

void SharedStrings::prefetch(const HashedText& text) const {
    __builtin_prefetch(&recent_[text.hash & (kCacheSize - 1)]);
}

SharedStrings::HashedText SharedStrings::hashed(std::string_view utf8) { return {utf8, hashOf(utf8)}; }

std::uint32_t SharedStrings::add(const HashedText& hashedText) {
    BiffCharacters text = encode(hashedText.utf8);
    std::uint64_t hash = hashedText.hash;  // equal texts encode alike
    Recent& cached = recent_[hash & (kCacheSize - 1)];
    auto shortHash = static_cast<std::uint32_t>(hash >> 32);
    if (cached.position != SstRecords::kSplit && cached.hash == shortHash) {
        const char* stored = records_.held(cached.position);
        if (stored && isStored(stored, text)) return cached.index;
    }
    if (size() >= kMaxStrings) throw WorkbookError("The workbook holds more different texts than one file can take");
    std::uint32_t index = size();
    std::uint32_t position = records_.append(text);
    if (position != SstRecords::kSplit) cached = {position, shortHash, index};
    return index;
}

}  // namespace velloran::biff
