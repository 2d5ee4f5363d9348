#include "RecordStream.h"

#include <bit>
#include <stdexcept>

namespace velloran::biff {

static_assert(std::endian::native == std::endian::little, "BIFF records are written in memory order");

namespace {

std::unique_ptr<char[]> newBuffer(std::size_t size) { return std::unique_ptr<char[]>(new char[size]); }

}  // namespace

RecordStream::RecordStream(ByteSink* sink) : sink_(sink), buffer_(newBuffer(kFlushAt + kMaxBody + kHeaderSize)) {}

RecordStream::RecordStream(InMemory) : RecordStream(nullptr) { inMemory_ = true; }

RecordStream::~RecordStream() = default;

void RecordStream::failTooLong() { throw std::logic_error("BIFF record body longer than 8224 bytes"); }

void RecordStream::handOver() {
    if (!inMemory_) return flush();
    kept_.push_back({std::move(buffer_), used_});
    buffer_ = newBuffer(kFlushAt + kMaxBody + kHeaderSize);
    flushed_ += used_;
    used_ = 0;
    recordStart_ = 0;
}

void RecordStream::flush() {
    if (inMemory_) throw std::logic_error("a record stream in memory is never flushed");
    if (sink_ && used_ > 0) sink_->write(buffer_.get(), used_);
    flushed_ += used_;
    used_ = 0;
    recordStart_ = 0;
}

void RecordStream::passThrough(std::string_view records) {
    flush();
    if (sink_ && !records.empty()) sink_->write(records.data(), records.size());
    flushed_ += records.size();
}

std::vector<std::string_view> RecordStream::blocks() const {
    std::vector<std::string_view> all;
    all.reserve(kept_.size() + 1);
    for (const Block& block : kept_) all.emplace_back(block.bytes.get(), block.size);
    all.emplace_back(buffer_.get(), used_);
    return all;
}

}  // namespace velloran::biff
