#include "SstRecords.h"

#include "BiffText.h"
#include "RecordTypes.h"

#include <algorithm>

namespace velloran::biff {

namespace {

constexpr std::uint32_t kMinStringsPerBucket = 8;
constexpr std::uint32_t kTargetBuckets = 128;
// EXTSST must fit one record: a 2-byte count, then 8 bytes a bucket.
constexpr std::size_t kMaxBuckets = (RecordStream::kMaxBody - 2) / 8;

std::uint32_t stringsPerBucket(std::uint32_t count) {
    std::uint32_t wanted = (count + kTargetBuckets - 1) / kTargetBuckets;
    return std::clamp<std::uint32_t>(wanted, kMinStringsPerBucket, 0xFFFF);
}

void continueRecord(RecordStream& out) {
    out.end();
    out.begin(record::kContinue);
}

// How many of `characters` fit in `room` bytes without splitting a unit or
// a surrogate pair.
std::size_t fittingBytes(std::string_view characters, std::size_t room, bool wide) {
    if (!wide) return std::min(room, characters.size());
    std::size_t bytes = std::min(room, characters.size()) & ~std::size_t{1};
    if (bytes >= 2 && bytes < characters.size() && isHighSurrogate(characters.data() + bytes - 2)) bytes -= 2;
    return bytes;
}

std::size_t firstCharacterBytes(const StoredString& text) {
    if (text.characters.empty()) return 0;
    if (!text.wide) return 1;
    return isHighSurrogate(text.characters.data()) ? 4 : 2;
}

void writeCharacters(RecordStream& out, const StoredString& text) {
    std::string_view characters = text.characters;
    while (!characters.empty()) {
        std::size_t bytes = fittingBytes(characters, out.roomLeft(), text.wide);
        if (bytes == 0) {
            continueRecord(out);
            out.u8(characterFlags(text.wide));
            continue;
        }
        out.bytes(characters.substr(0, bytes));
        characters.remove_prefix(bytes);
    }
}

}  // namespace

std::vector<SstBucket> writeSst(RecordStream& out, const SharedStrings& strings, std::uint32_t references) {
    std::uint32_t perBucket = stringsPerBucket(strings.size());
    std::vector<SstBucket> buckets;
    out.begin(record::kSst);
    out.u32(references);
    out.u32(strings.size());
    for (std::uint32_t index = 0; index < strings.size(); ++index) {
        std::string_view entry = strings.entry(index);
        StoredString text = StoredString::of(entry);
        if (out.roomLeft() < SharedStrings::kHeaderSize + firstCharacterBytes(text)) continueRecord(out);
        if (index % perBucket == 0 && buckets.size() < kMaxBuckets)
            buckets.push_back({static_cast<std::uint32_t>(out.position()),
                               static_cast<std::uint16_t>(out.bodySize() + 4)});
        out.bytes(entry.substr(0, SharedStrings::kHeaderSize));
        writeCharacters(out, text);
    }
    out.end();
    return buckets;
}

void writeExtSst(RecordStream& out, const std::vector<SstBucket>& buckets, std::uint32_t stringCount) {
    out.begin(record::kExtSst);
    out.u16(static_cast<std::uint16_t>(stringsPerBucket(stringCount)));
    for (const SstBucket& bucket : buckets) {
        out.u32(bucket.streamPosition);
        out.u16(bucket.recordOffset);
        out.u16(0);
    }
    out.end();
}

}  // namespace velloran::biff
