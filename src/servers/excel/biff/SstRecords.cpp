#include "SstRecords.h"

#include "RecordTypes.h"

#include <algorithm>

namespace velloran::workbook::biff {

namespace {

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

// Lays the stored texts of `stored`, copying those that fit the record
// they start in many at a time.
void layStretch(WrittenRecords& records, std::string_view stored) {
    std::size_t runStart = 0, room = records.roomLeft();
    for (std::size_t at = 0; at < stored.size();) {
        CompactText text = storedText(stored.data() + at);
        std::size_t size = storedSize(text);
        if (size <= room) {
            room -= size;
            at += size;
            continue;
        }
        records.bytes(stored.substr(runStart, at - runStart));
        layString(records, text);
        at += size;
        runStart = at;
        room = records.roomLeft();
    }
    records.bytes(stored.substr(runStart));
}

const SstPlacement* placedWhileFilled(const TextTable& texts) {
    const auto* placement = dynamic_cast<const SstPlacement*>(texts.placement());
    return placement && placement->size() == texts.size() ? placement : nullptr;
}

}  // namespace

SstRecords::SstRecords(const TextTable& texts) : texts_(texts), placement_(placedWhileFilled(texts)) {
    if (placement_) return;
    placedNow_ = std::make_unique<SstPlacement>();
    texts.forEach([&](const CompactText& text) { placedNow_->place(text); });
    placement_ = placedNow_.get();
}

void SstRecords::write(RecordStream& out, std::uint32_t references) const {
    std::uint64_t start = out.position();
    out.passThrough(byteSize(), [&](ByteSink& sink) {
        RecordStream stream(&sink);
        WrittenRecords records(stream, references, size());
        texts_.forEachStretch([&](std::string_view stored) { layStretch(records, stored); });
        records.finish();
        stream.flush();
    });
    writeExtSst(out, start);
}

// Where every n-th string starts: its position in the stream and its offset
// in its record, header included.
void SstRecords::writeExtSst(RecordStream& out, std::uint64_t start) const {
    const std::uint32_t keptEvery = placement_->keptEvery();
    const std::uint32_t perBucket = stringsPerBucket(size(), keptEvery);
    out.begin(record::kExtSst);
    out.u16(static_cast<std::uint16_t>(perBucket));
    for (std::uint32_t index = 0; index < size() && index / perBucket < kMaxBuckets; index += perBucket) {
        const SstPlacement::Position& kept = placement_->positions()[index / keptEvery];
        out.u32(static_cast<std::uint32_t>(start + kept.position));
        out.u16(static_cast<std::uint16_t>(kept.inRecord));
        out.u16(0);
    }
    out.end();
}

}  // namespace velloran::workbook::biff
