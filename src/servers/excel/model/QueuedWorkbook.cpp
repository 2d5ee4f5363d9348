#include "QueuedWorkbook.h"

#include "TextTable.h"
#include "WorkbookError.h"

#include <array>
#include <cmath>
#include <cstring>
#include <utility>

namespace velloran::workbook {

namespace {

// A batch is handed to the worker once the next write would not fit; the
// longest text a cell takes always fits an empty batch.
constexpr std::size_t kBatchBytes = 256 * 1024;
// The batch being filled, the one being applied and those waiting between
// them; once all are in use the caller waits, which bounds the memory.
constexpr std::size_t kBatches = 6;
// Row, column and tag in front of every write.
constexpr std::size_t kEntryHead = 12;
// The tag of a format write (with the format in its low bits) and of a
// number write (with the number behind it); any other tag is the byte
// length of a text.
constexpr std::uint32_t kFormatTag = 0x80000000;
constexpr std::uint32_t kNumberTag = 0x40000000;
// How far ahead of the writes and of the reads a batch's memory is asked for.
constexpr std::size_t kStoreAhead = 512;
constexpr std::size_t kReadAhead = 1024;

static_assert(kEntryHead + 3 * TextTable::kMaxUnits <= kBatchBytes);

// A prefetch for writing asks for the line to own (PREFETCHW), not only to
// read; x86-64 processors without the instruction take it as a no-op.
#if defined(__x86_64__)
#define PREFETCHING_FOR_WRITE __attribute__((target("prfchw")))
#else
#define PREFETCHING_FOR_WRITE
#endif

std::uint32_t u32At(const char* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

}  // namespace

QueuedWorkbook::QueuedWorkbook(std::unique_ptr<TextPlacement> placement)
    : workbook_(CellGrid::kHeldCells, std::move(placement)), channel_(kBatches, kBatchBytes), worker_([this] { work(); }) {}

// Writes still queued are dropped with the workbook.
QueuedWorkbook::~QueuedWorkbook() {
    channel_.stop();
    worker_.join();
}

void QueuedWorkbook::setText(std::uint32_t row, std::uint32_t column, std::string_view utf8) {
    TextTable::check(utf8);
    queue(row, column, static_cast<std::uint32_t>(utf8.size()), utf8);
}

void QueuedWorkbook::setNumber(std::uint32_t row, std::uint32_t column, double value) {
    if (!std::isfinite(value)) throw workbookFailure("A cell number must be finite, not " + std::to_string(value));
    queue(row, column, kNumberTag, {reinterpret_cast<const char*>(&value), sizeof value});
}

void QueuedWorkbook::setFormat(std::uint32_t row, std::uint32_t column, CellFormat format) {
    queue(row, column, kFormatTag | static_cast<std::uint32_t>(format), {});
}

// Widths are kept apart from the cells and texts the worker stores, so they
// are set at once.
void QueuedWorkbook::setColumnWidth(std::uint32_t column, double characters) {
    workbook_.setColumnWidth(column, characters);
}

Workbook& QueuedWorkbook::applied() {
    waitUntilApplied();
    return workbook_;
}

PREFETCHING_FOR_WRITE void QueuedWorkbook::queue(std::uint32_t row, std::uint32_t column, std::uint32_t tag,
                                                 std::string_view payload) {
    std::size_t needed = kEntryHead + payload.size();
    if (!filling_.bytes || filling_.size + needed > kBatchBytes) handOver();
    char* at = filling_.bytes.get() + filling_.size;
    // A recycled batch was last read by the worker, on another core: asking
    // for the lines a little ahead keeps the stores from waiting for them.
    __builtin_prefetch(at + kStoreAhead, 1);
    std::memcpy(at, &row, 4);
    std::memcpy(at + 4, &column, 4);
    std::memcpy(at + 8, &tag, 4);
    if (!payload.empty()) std::memcpy(at + kEntryHead, payload.data(), payload.size());
    filling_.size += needed;
}

void QueuedWorkbook::sendFilling() {
    if (filling_.size > 0) channel_.send(std::exchange(filling_, {}));
}

// Sends the batch being filled and takes an empty one, which throws once the
// worker has failed.
void QueuedWorkbook::handOver() {
    sendFilling();
    filling_ = channel_.takeEmpty();
}

void QueuedWorkbook::waitUntilApplied() {
    sendFilling();
    channel_.waitUntilDrained();
}

// The worker: applies batches in order until the workbook goes or a write
// fails.
void QueuedWorkbook::work() {
    try {
        while (std::optional<BufferChannel::Buffer> batch = channel_.receive()) {
            apply(*batch);
            channel_.giveBack(std::move(*batch));
        }
    } catch (...) {
        channel_.stop(std::current_exception());
    }
}

// One queued write, read from its place in a batch.
struct QueuedWorkbook::Entry {
    std::uint32_t row, column, tag;
    const char* payload;

    explicit Entry(const char* at)
        : row(u32At(at)), column(u32At(at + 4)), tag(u32At(at + 8)), payload(at + kEntryHead) {}
    bool isFormat() const { return (tag & kFormatTag) != 0; }
    bool isNumber() const { return tag == kNumberTag; }
    bool isText() const { return !isFormat() && !isNumber(); }
    std::string_view utf8() const { return {payload, isText() ? tag : 0}; }
    CellFormat format() const { return static_cast<CellFormat>(tag & ~kFormatTag); }
    double number() const {
        double value;
        std::memcpy(&value, payload, sizeof value);
        return value;
    }
    const char* next() const { return payload + (isNumber() ? sizeof(double) : utf8().size()); }
};

// The batch was written on another core. Its memory is asked for well
// ahead of reading it, and the texts a few writes ahead are hashed and
// their cache entries prefetched, so that looking each one up among the
// recent texts does not wait either.
void QueuedWorkbook::apply(const BufferChannel::Buffer& batch) {
    constexpr std::size_t kLookAhead = 4;
    std::array<TextTable::HashedText, kLookAhead> ahead;
    std::size_t taken = 0, hashed = 0;
    const char* end = batch.bytes.get() + batch.size;
    const char* next = batch.bytes.get();
    auto hashNext = [&] {
        if (next >= end) return;
        __builtin_prefetch(next + kReadAhead);
        Entry entry(next);
        TextTable::HashedText& text = ahead[hashed++ % kLookAhead];
        text = entry.isText() ? TextTable::hashed(entry.utf8()) : TextTable::HashedText{};
        if (entry.isText()) workbook_.prefetchText(text);
        next = entry.next();
    };
    for (std::size_t i = 0; i < kLookAhead; ++i) hashNext();
    for (const char* at = batch.bytes.get(); at < end;) {
        Entry entry(at);
        TextTable::HashedText text = ahead[taken++ % kLookAhead];
        hashNext();
        if (entry.isFormat())
            workbook_.setFormat(entry.row, entry.column, entry.format());
        else if (entry.isNumber())
            workbook_.setNumber(entry.row, entry.column, entry.number());
        else
            workbook_.setText(entry.row, entry.column, text);
        at = entry.next();
    }
}

}  // namespace velloran::workbook
