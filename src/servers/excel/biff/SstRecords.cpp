#include "SstRecords.h"

#include "RecordTypes.h"
#include "WorkbookError.h"

#include <algorithm>
#include <array>
#include <limits>

namespace velloran::biff {

namespace {

// Positions are first kept for every 8th string; buckets hold a multiple of
// the strings between kept positions.
constexpr std::uint32_t kFirstKeptEvery = 8;
// Past this many kept positions every other one is dropped, up to a spacing
// that still lets a bucket's size fit EXTSST's 16 bits.
constexpr std::size_t kMostKept = 8192;
constexpr std::uint32_t kWidestKeptEvery = 8192;
constexpr std::uint32_t kTargetBuckets = 128;
// EXTSST must fit one record: a 2-byte count, then 8 bytes a bucket.
constexpr std::size_t kMaxBuckets = (RecordStream::kMaxBody - 2) / 8;
// The SST body starts with the number of cells using the table and the
// number of strings in it, known only when saving.
constexpr std::size_t kCountsSize = 8;

// Strings per EXTSST bucket: about kTargetBuckets buckets, each at least
// `keptEvery` strings and a multiple of it.
std::uint32_t stringsPerBucket(std::uint32_t count, std::uint32_t keptEvery) {
    std::uint32_t wanted = (count + kTargetBuckets - 1) / kTargetBuckets;
    wanted = (wanted + keptEvery - 1) / keptEvery * keptEvery;
    return std::clamp<std::uint32_t>(wanted, keptEvery, 0xFFFF / keptEvery * keptEvery);
}

// Writes `piece`, which starts at `offset` in the records, with the bytes
// that hold the SST counts replaced by `counts`.
void writeWithCounts(ByteSink& sink, std::string_view piece, std::uint64_t offset, std::string_view counts) {
    constexpr std::uint64_t kFrom = RecordStream::kHeaderSize, kTo = kFrom + kCountsSize;
    auto write = [&](const char* data, std::size_t size) {
        if (size > 0) sink.write(data, size);
    };
    if (offset >= kTo || offset + piece.size() <= kFrom) return write(piece.data(), piece.size());
    std::size_t before = offset < kFrom ? static_cast<std::size_t>(kFrom - offset) : 0;
    auto countsEnd = static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), kTo - offset));
    write(piece.data(), before);
    write(counts.data() + (offset + before - kFrom), countsEnd - before);
    write(piece.data() + countsEnd, piece.size() - countsEnd);
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

SstRecords::SstRecords() : keptEvery_(kFirstKeptEvery) {
    records_.begin(record::kSst);
    records_.u32(0);  // the counts: given when the records are written
    records_.u32(0);
    records_.end();
}

void SstRecords::continueRecord() {
    records_.end();
    recordStart_ = static_cast<std::uint32_t>(records_.position());
    records_.begin(record::kContinue);
}

void SstRecords::keepPosition(std::uint32_t position) {
    if (size_ % keptEvery_ != 0) return;
    positions_.push_back({position, position - recordStart_});
    if (positions_.size() < kMostKept || keptEvery_ >= kWidestKeptEvery) return;
    for (std::size_t i = 0; 2 * i < positions_.size(); ++i) positions_[i] = positions_[2 * i];
    positions_.resize((positions_.size() + 1) / 2);
    keptEvery_ *= 2;
}

std::size_t SstRecords::heldBytes() const {
    return records_.buffered().size() + positions_.capacity() * sizeof(Position);
}

std::uint32_t SstRecords::append(const BiffCharacters& text) {
    const StringHeader header = stringHeader(text.encoding);
    if (records_.roomLeft() < header.size() + firstCharacterBytes(text.bytes, text.encoding.wide)) continueRecord();
    // Every record piece of the string adds at most a record header and a flags byte.
    std::size_t size = header.size() + text.bytes.size();
    std::uint64_t position = records_.position();
    std::uint64_t furthestEnd = position + size + (size / RecordStream::kMaxBody + 1) * (RecordStream::kHeaderSize + 1);
    if (furthestEnd > std::numeric_limits<std::uint32_t>::max())
        throw WorkbookError("The workbook holds more text than one file can take (4 GB)");
    keepPosition(static_cast<std::uint32_t>(position));
    ++size_;
    records_.bytes({header.data(), header.size()});
    bool whole = appendCharacters(text.bytes, text.encoding.wide);
    records_.end();
    return whole ? static_cast<std::uint32_t>(position) : kSplit;
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
    out.passThrough(byteSize(), [&](ByteSink& sink) { writeRecords(sink, references); });
    writeExtSst(out, start);
}

// The records from the file, then those still in memory.
void SstRecords::writeRecords(ByteSink& sink, std::uint32_t references) const {
    const std::array<std::uint32_t, 2> counts = {references, size()};
    const std::string_view countBytes(reinterpret_cast<const char*>(counts.data()), kCountsSize);
    spilled_.forEachPiece(
        [&](std::string_view piece, std::uint64_t offset) { writeWithCounts(sink, piece, offset, countBytes); });
    writeWithCounts(sink, records_.buffered(), records_.bufferStart(), countBytes);
}

// Where every n-th string starts: its position in the stream and its offset
// in its record, header included.
void SstRecords::writeExtSst(RecordStream& out, std::uint64_t start) const {
    std::uint32_t perBucket = stringsPerBucket(size(), keptEvery_);
    out.begin(record::kExtSst);
    out.u16(static_cast<std::uint16_t>(perBucket));
    for (std::uint32_t index = 0; index < size() && index / perBucket < kMaxBuckets; index += perBucket) {
        const Position& kept = positions_[index / keptEvery_];
        out.u32(static_cast<std::uint32_t>(start + kept.position));
        out.u16(static_cast<std::uint16_t>(kept.inRecord));
        out.u16(0);
    }
    out.end();
}

}  // namespace velloran::biff
