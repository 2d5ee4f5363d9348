#pragma once
// How strings are laid into the SST record and its CONTINUE records: a
// string's header is never split from its first character, a string
// continued in the next record starts it with the flags byte again, and a
// UTF-16 surrogate pair is never split. The same steps place the strings
// while a workbook is filled (counting positions only) and write them when
// it is saved.
#include "CompactText.h"
#include "RecordStream.h"
#include "RecordTypes.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace velloran::workbook::biff {

// The SST record's header and its two counts come before the first string.
constexpr std::uint64_t kSstStart = RecordStream::kHeaderSize + 8;

// Records that are only counted, with the buffer that RecordStream would
// hand on every quarter megabyte: strings before the last hand-over are no
// longer at hand (see SstPlacement).
class CountedRecords {
public:
    std::uint64_t position() const { return position_; }
    std::size_t roomLeft() const {
        return RecordStream::kMaxBody - static_cast<std::size_t>(position_ - recordStart_ - RecordStream::kHeaderSize);
    }
    void bytes(std::string_view data) { position_ += data.size(); }
    void u8(std::uint8_t) { ++position_; }
    void continueRecord() {
        recordStart_ = position_;
        if (position_ - handedOver_ >= RecordStream::kFlushAt) {
            handedOver_ = position_;
            ++handOvers_;
        }
        position_ += RecordStream::kHeaderSize;
    }
    std::uint64_t recordStart() const { return recordStart_; }
    std::uint64_t handOvers() const { return handOvers_; }

private:
    std::uint64_t position_ = kSstStart;
    std::uint64_t recordStart_ = 0;
    std::uint64_t handedOver_ = 0;
    std::uint64_t handOvers_ = 0;
};

// Records written into a RecordStream that starts at the SST record.
class WrittenRecords {
public:
    WrittenRecords(RecordStream& out, std::uint32_t references, std::uint32_t count) : out_(out) {
        out_.begin(record::kSst);
        out_.u32(references);
        out_.u32(count);
    }
    std::uint64_t position() const { return out_.position(); }
    std::size_t roomLeft() const { return out_.roomLeft(); }
    void bytes(std::string_view data) { out_.bytes(data); }
    void u8(std::uint8_t value) { out_.u8(value); }
    void continueRecord() {
        out_.end();
        recordStart_ = out_.position();
        out_.begin(record::kContinue);
    }
    std::uint64_t recordStart() const { return recordStart_; }
    void finish() { out_.end(); }

private:
    RecordStream& out_;
    std::uint64_t recordStart_ = 0;
};

// How many of `characters` fit in `room` bytes without splitting a unit or
// a surrogate pair.
inline std::size_t fittingBytes(std::string_view characters, std::size_t room, bool wide) {
    if (!wide) return std::min(room, characters.size());
    std::size_t bytes = std::min(room, characters.size()) & ~std::size_t{1};
    if (bytes >= 2 && bytes < characters.size() && isHighSurrogate(characters.data() + bytes - 2)) bytes -= 2;
    return bytes;
}

inline std::size_t firstCharacterBytes(std::string_view characters, bool wide) {
    if (characters.empty()) return 0;
    if (!wide) return 1;
    return isHighSurrogate(characters.data()) ? 4 : 2;
}

struct LaidString {
    std::uint64_t position;  // of its header
    std::uint64_t inRecord;  // the header's offset in its record
    bool whole;              // not split over two records
};

// Lays one string into `out` (CountedRecords or WrittenRecords).
template <typename Records>
LaidString layString(Records& out, const CompactText& text) {
    const StringHeader header = stringHeader(text.encoding);
    const bool wide = text.encoding.wide;
    if (out.roomLeft() < header.size() + firstCharacterBytes(text.bytes, wide)) out.continueRecord();
    LaidString laid{out.position(), out.position() - out.recordStart(), true};
    out.bytes({header.data(), header.size()});
    for (std::string_view characters = text.bytes; !characters.empty();) {
        std::size_t bytes = fittingBytes(characters, out.roomLeft(), wide);
        if (bytes == 0) {
            out.continueRecord();
            out.u8(characterFlags(wide));
            laid.whole = false;
            continue;
        }
        out.bytes(characters.substr(0, bytes));
        characters.remove_prefix(bytes);
    }
    return laid;
}

}  // namespace velloran::workbook::biff
