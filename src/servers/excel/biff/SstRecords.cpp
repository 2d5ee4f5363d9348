#include "SstRecords.h"

#include "RecordTypes.h"
#include "WorkbookError.h"

#include <algorithm>
#include <array>
#include <limits>

namespace velloran::biff {

namespace {

// Only every 8th string's position is kept; buckets hold a multiple of 8.
constexpr std::uint32_t kPositionEvery = 8;
constexpr std::uint32_t kTargetBuckets = 128;
// EXTSST must fit one record: a 2-byte count, then 8 bytes a bucket.
constexpr std::size_t kMaxBuckets = (RecordStream::kMaxBody - 2) / 8;
// The SST body starts with the number of cells using the table and the
// number of strings in it, known only when saving.
constexpr std::size_t kCountsSize = 8;

// Strings per EXTSST bucket: about kTargetBuckets buckets, each at least 8
// strings and a multiple of kPositionEvery.
std::uint32_t stringsPerBucket(std::uint32_t count) {
    std::uint32_t wanted = (count + kTargetBuckets - 1) / kTargetBuckets;
    wanted = (wanted + kPositionEvery - 1) / kPositionEvery * kPositionEvery;
    return std::clamp<std::uint32_t>(wanted, kPositionEvery, 0xFFFF / kPositionEvery * kPositionEvery);
}

// How many of `characters` fit in `room` bytes without splitting a unit or
// a surrogate pair.
std::size_t fittingBytes(std::string_view characters, std::size_t room, bool wide) {
    if (!wide) return std::min(room, characters.size());
    std::size_t bytes = std::min(room, characters.size()) & ~std::size_t{1};
    if (bytes >= 2 && bytes < characters.size() && isHighSurrogate(characters.data() + bytes - 2)) bytes -= 2;
    return bytes;
}

std::size_t firstCharacterBytes(std::string_view characters, bool wide) {
    if (characters.empty()) return 0;
    if (!wide) return 1;
    return isHighSurrogate(characters.data()) ? 4 : 2;
}

}  // namespace

SstRecords::SstRecords() : records_(RecordStream::InMemory{}) {
    recordStarts_.push_back(0);
    records_.begin(record::kSst);
    records_.u32(0);  // the counts: given when the records are written
    records_.u32(0);
    records_.end();
}

void SstRecords::continueRecord() {
    records_.end();
    recordStarts_.push_back(static_cast<std::uint32_t>(records_.position()));
    records_.begin(record::kContinue);
}

std::string_view SstRecords::append(const BiffCharacters& text) {
    const StringHeader header = stringHeader(text.encoding);
    if (records_.roomLeft() < header.size() + firstCharacterBytes(text.bytes, text.encoding.wide)) continueRecord();
    // Every record piece of the string adds at most a record header and a flags byte.
    std::size_t size = header.size() + text.bytes.size();
    std::uint64_t position = records_.position();
    std::uint64_t furthestEnd = position + size + (size / RecordStream::kMaxBody + 1) * (RecordStream::kHeaderSize + 1);
    if (furthestEnd > std::numeric_limits<std::uint32_t>::max())
        throw WorkbookError("The workbook holds more text than one file can take (4 GB)");
    if (size_++ % kPositionEvery == 0) positions_.push_back(static_cast<std::uint32_t>(position));
    const char* stored = records_.cursor();
    records_.bytes({header.data(), header.size()});
    bool whole = appendCharacters(text.bytes, text.encoding.wide);
    records_.end();
    return whole ? std::string_view(stored, size) : std::string_view();
}

bool SstRecords::appendCharacters(std::string_view characters, bool wide) {
    bool whole = true;
    while (!characters.empty()) {
        std::size_t bytes = fittingBytes(characters, records_.roomLeft(), wide);
        if (bytes == 0) {
            continueRecord();
            records_.u8(characterFlags(wide));
            whole = false;
            continue;
        }
        records_.bytes(characters.substr(0, bytes));
        characters.remove_prefix(bytes);
    }
    return whole;
}

void SstRecords::write(RecordStream& out, std::uint32_t references) const {
    std::uint64_t start = out.position();
    std::vector<std::string_view> blocks = records_.blocks();
    const std::array<std::uint32_t, 2> counts = {references, size()};
    out.passThrough(blocks.front().substr(0, RecordStream::kHeaderSize));
    out.passThrough(std::string_view(reinterpret_cast<const char*>(counts.data()), kCountsSize));
    out.passThrough(blocks.front().substr(RecordStream::kHeaderSize + kCountsSize));
    for (std::size_t i = 1; i < blocks.size(); ++i) out.passThrough(blocks[i]);
    writeExtSst(out, start);
}

// Where every n-th string starts: its position in the stream and its offset
// in its record, header included.
void SstRecords::writeExtSst(RecordStream& out, std::uint64_t start) const {
    std::uint32_t perBucket = stringsPerBucket(size());
    out.begin(record::kExtSst);
    out.u16(static_cast<std::uint16_t>(perBucket));
    for (std::uint32_t index = 0; index < size() && index / perBucket < kMaxBuckets; index += perBucket) {
        std::uint32_t position = positions_[index / kPositionEvery];
        std::uint32_t recordStart = *(std::upper_bound(recordStarts_.begin(), recordStarts_.end(), position) - 1);
        out.u32(static_cast<std::uint32_t>(start + position));
        out.u16(static_cast<std::uint16_t>(position - recordStart));
        out.u16(0);
    }
    out.end();
}

}  // namespace velloran::biff
