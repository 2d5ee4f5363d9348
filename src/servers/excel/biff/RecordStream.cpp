#include "RecordStream.h"

#include <bit>
#include <stdexcept>

namespace velloran::workbook::biff {

static_assert(std::endian::native == std::endian::little, "BIFF records are written in memory order");

namespace {

std::unique_ptr<char[]> newBuffer(std::size_t size) { return std::unique_ptr<char[]>(new char[size]); }

}  // namespace

RecordStream::RecordStream(ByteSink* sink) : sink_(sink), buffer_(newBuffer(kFlushAt + kMaxBody + kHeaderSize)) {}

RecordStream::~RecordStream() = default;

void RecordStream::failTooLong() { throw std::logic_error("BIFF record body longer than 8224 bytes"); }

void RecordStream::flush() {
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

void RecordStream::passThrough(std::uint64_t size, const std::function<void(ByteSink&)>& produce) {
    flush();
    if (sink_ && size > 0) produce(*sink_);
    flushed_ += size;
}

}  // namespace velloran::workbook::biff
