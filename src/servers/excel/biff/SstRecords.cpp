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
        writeRecords(stream, references);
        stream.flush();
    });
    writeExtSst(out, start);
}

// The stored texts are the strings as SST holds them, header and
// characters; they are read straight into the records, cut where the
// placement started each CONTINUE record.
void SstRecords::writeRecords(RecordStream& stream, std::uint32_t references) const {
    std::uint64_t copied = 0;
    auto copyUpTo = [&](std::uint64_t textPosition) {
        auto size = static_cast<std::size_t>(textPosition - copied);
        texts_.readStored(copied, stream.extend(size), size);
        copied = textPosition;
    };
    stream.begin(record::kSst);
    stream.u32(references);
    stream.u32(size());
    placement_->forEachBreak([&](const RecordBreak& at) {
        copyUpTo(at.textPosition);
        stream.end();
        stream.begin(record::kContinue);
        if (at.splitsString) stream.u8(characterFlags(at.wide));
    });
    copyUpTo(texts_.storedBytes());
    stream.end();
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
