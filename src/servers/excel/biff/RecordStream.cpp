#include "RecordStream.h"

#include <bit>
#include <stdexcept>

namespace velloran::biff {

static_assert(std::endian::native == std::endian::little, "BIFF records are written in memory order");

namespace {
// Flushed once it holds this much; a record never straddles a flush.
constexpr std::size_t kFlushAt = 256 * 1024;
constexpr std::size_t kCapacity = kFlushAt + RecordStream::kMaxBody + 4;
}  // namespace

RecordStream::RecordStream(ByteSink* sink) : sink_(sink), buffer_(new char[kCapacity]) {}

RecordStream::~RecordStream() = default;

void RecordStream::begin(std::uint16_t type) {
    if (used_ >= kFlushAt) flush();
    recordStart_ = used_;
    used_ += 4;
    std::memcpy(buffer_.get() + recordStart_, &type, 2);
}

void RecordStream::end() {
    auto length = static_cast<std::uint16_t>(bodySize());
    std::memcpy(buffer_.get() + recordStart_ + 2, &length, 2);
}

void RecordStream::bytes(std::string_view data) {
    checkRoom(data.size());
    if (sink_) std::memcpy(buffer_.get() + used_, data.data(), data.size());
    used_ += data.size();
}

void RecordStream::checkRoom(std::size_t size) const {
    if (bodySize() + size > kMaxBody) throw std::logic_error("BIFF record body longer than 8224 bytes");
}

void RecordStream::flush() {
    if (sink_ && used_ > 0) sink_->write(buffer_.get(), used_);
    flushed_ += used_;
    used_ = 0;
    recordStart_ = 0;
}

}  // namespace velloran::biff
