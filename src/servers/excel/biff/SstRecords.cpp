#include "SstRecords.h"

#include "RecordTypes.h"
#include "WorkbookError.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace velloran::workbook::biff {

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

// Strings per EXTSST bucket: about kTargetBuckets buckets, each at least
// `keptEvery` strings and a multiple of it.
std::uint32_t stringsPerBucket(std::uint32_t count, std::uint32_t keptEvery) {
    std::uint32_t wanted = (count + kTargetBuckets - 1) / kTargetBuckets;
    wanted = (wanted + keptEvery - 1) / keptEvery * keptEvery;
    return std::clamp<std::uint32_t>(wanted, keptEvery, 0xFFFF / keptEvery * keptEvery);
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

// Lays the strings into records: a string's header is never split from its
// first character, a string continued in the next record starts it with
// the flags byte again, and a UTF-16 surrogate pair is never split. The
// same steps measure (into a stream without a sink) and write.
class SstRecords::Layout {
public:
    using Kept = std::function<void(std::uint32_t index, const Position&)>;

    Layout(RecordStream& out, std::uint32_t references, std::uint32_t count) : out_(out) {
        out_.begin(record::kSst);
        out_.u32(references);
        out_.u32(count);
    }

    void add(const CompactText& text, const Kept& keep) {
        const StringHeader header = stringHeader(text.encoding);
        if (out_.roomLeft() < header.size() + firstCharacterBytes(text.bytes, text.encoding.wide)) continueRecord();
        if (out_.position() > std::numeric_limits<std::uint32_t>::max())
            throw WorkbookError("The workbook holds more text than one .xls file can take (4 GB)");
        auto position = static_cast<std::uint32_t>(out_.position());
        if (keep) keep(index_, {position, position - recordStart_});
        ++index_;
        out_.bytes({header.data(), header.size()});
        appendCharacters(text.bytes, text.encoding.wide);
    }

    void finish() { out_.end(); }

private:
    void continueRecord() {
        out_.end();
        recordStart_ = static_cast<std::uint32_t>(out_.position());
        out_.begin(record::kContinue);
    }

    void appendCharacters(std::string_view characters, bool wide) {
        while (!characters.empty()) {
            std::size_t bytes = fittingBytes(characters, out_.roomLeft(), wide);
            if (bytes == 0) {
                continueRecord();
                out_.u8(characterFlags(wide));
                continue;
            }
            out_.bytes(characters.substr(0, bytes));
            characters.remove_prefix(bytes);
        }
    }

    RecordStream& out_;
    std::uint32_t recordStart_ = 0;
    std::uint32_t index_ = 0;
};

SstRecords::SstRecords(const TextTable& texts) : texts_(texts), keptEvery_(kFirstKeptEvery) {
    RecordStream counter(nullptr);
    Layout layout(counter, 0, texts.size());
    Layout::Kept keep = [this](std::uint32_t index, const Position& position) { keepPosition(index, position); };
    texts.forEach([&](const CompactText& text) { layout.add(text, keep); });
    layout.finish();
    counter.flush();
    byteSize_ = counter.position();
}

void SstRecords::keepPosition(std::uint32_t index, const Position& position) {
    if (index % keptEvery_ != 0) return;
    positions_.push_back(position);
    if (positions_.size() < kMostKept || keptEvery_ >= kWidestKeptEvery) return;
    for (std::size_t i = 0; 2 * i < positions_.size(); ++i) positions_[i] = positions_[2 * i];
    positions_.resize((positions_.size() + 1) / 2);
    keptEvery_ *= 2;
}

void SstRecords::write(RecordStream& out, std::uint32_t references) const {
    std::uint64_t start = out.position();
    out.passThrough(byteSize(), [&](ByteSink& sink) {
        RecordStream records(&sink);
        Layout layout(records, references, size());
        texts_.forEach([&](const CompactText& text) { layout.add(text, nullptr); });
        layout.finish();
        records.flush();
    });
    writeExtSst(out, start);
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

}  // namespace velloran::workbook::biff
