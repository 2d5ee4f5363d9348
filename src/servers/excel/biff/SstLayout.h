#pragma once
// How strings are laid into the SST record and its CONTINUE records: a
// string's header is never split from its first character, a string
// continued in the next record starts it with the flags byte again, and a
// UTF-16 surrogate pair is never split. The strings are placed while a
// workbook is filled, counting positions and noting where each record
// starts; saving then copies the stored texts between those places as they
// are, with no second walk over the strings.
#include "CompactText.h"
#include "RecordStream.h"
#include "SpilledLog.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string_view>

namespace velloran::workbook::biff {

// The SST record's header and its two counts come before the first string.
constexpr std::uint64_t kSstStart = RecordStream::kHeaderSize + 8;

// Where a CONTINUE record starts, as a position in the table's stored
// texts (see TextTable::storedBytes): the texts before it fill the records
// before. A record that goes on with a string split over two records
// starts with the string's flags byte, which the stored texts lack.
struct RecordBreak {
    std::uint64_t textPosition;
    bool splitsString;
    bool wide;
};

// Records that are only counted, with the buffer that RecordStream would
// hand on every quarter megabyte: strings before the last hand-over are no
// longer at hand (see SstPlacement). Where each record starts is noted, so
// that saving copies the stored texts between those places as they are.
class CountedRecords {
public:
    CountedRecords();

    std::uint64_t position() const { return position_; }
    std::size_t roomLeft() const {
        return RecordStream::kMaxBody - static_cast<std::size_t>(position_ - recordStart_ - RecordStream::kHeaderSize);
    }
    // Bytes of a stored text: its header or characters.
    void bytes(std::size_t size) {
        position_ += size;
        textPosition_ += size;
    }
    // A record that starts with a string's header.
    void continueRecord() { startRecord({textPosition_, false, false}); }
    // A record that goes on with the characters of a split string.
    void continueString(bool wide) {
        startRecord({textPosition_, true, wide});
        ++position_;
    }
    std::uint64_t recordStart() const { return recordStart_; }
    std::uint64_t handOvers() const { return handOvers_; }

    // Calls `visit` with every record break in order. Throws a workbook Failure
    // when the breaks cannot be read back from their temporary file.
    void forEachBreak(const std::function<void(const RecordBreak&)>& visit) const;

private:
    void startRecord(const RecordBreak& at);

    std::uint64_t position_ = kSstStart;
    std::uint64_t textPosition_ = 0;
    std::uint64_t recordStart_ = 0;
    std::uint64_t handedOver_ = 0;
    std::uint64_t handOvers_ = 0;
    SpilledLog breaks_;  // 8 bytes a break, see startRecord
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

// Lays one string into `out`.
inline LaidString layString(CountedRecords& out, const CompactText& text) {
    const StringHeader header = stringHeader(text.encoding);
    const bool wide = text.encoding.wide;
    if (out.roomLeft() < header.size() + firstCharacterBytes(text.bytes, wide)) out.continueRecord();
    LaidString laid{out.position(), out.position() - out.recordStart(), true};
    if (out.roomLeft() >= header.size() + text.bytes.size()) {  // the string fits whole, as most do
        out.bytes(header.size() + text.bytes.size());
        return laid;
    }
    out.bytes(header.size());
    for (std::string_view characters = text.bytes; !characters.empty();) {
        std::size_t bytes = fittingBytes(characters, out.roomLeft(), wide);
        if (bytes == 0) {
            out.continueString(wide);
            laid.whole = false;
            continue;
        }
        out.bytes(bytes);
        characters.remove_prefix(bytes);
    }
    return laid;
}

}  // namespace velloran::workbook::biff
