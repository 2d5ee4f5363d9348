#pragma once
// Writes BIFF records (type, length, body) through a buffer into a byte
// sink, or only counts their bytes when there is no sink, so that the same
// code measures a part of the stream before writing it. A stream can also
// keep its records in memory, for a part that is built long before it is
// written (the shared-string table).
#include "ByteSink.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>

namespace velloran::workbook::biff {

class RecordStream {
public:
    // The largest record body BIFF8 allows.
    static constexpr std::size_t kMaxBody = 8224;
    // Type and length in front of every body.
    static constexpr std::size_t kHeaderSize = 4;

    // `sink` null: nothing is written, positions are still counted.
    explicit RecordStream(ByteSink* sink);
    ~RecordStream();
    RecordStream(const RecordStream&) = delete;
    RecordStream& operator=(const RecordStream&) = delete;

    // Offset from the start of the stream of the next byte.
    std::uint64_t position() const { return flushed_ + used_; }
    // The bytes from stream offset `position` on while they are still in
    // the buffer, or null once they were handed to the sink.
    const char* held(std::uint64_t position) const {
        return position >= flushed_ ? buffer_.get() + (position - flushed_) : nullptr;
    }
    // What is still in the buffer, from the offset bufferStart() on.
    std::string_view buffered() const { return {buffer_.get(), used_}; }
    std::uint64_t bufferStart() const { return flushed_; }

    void begin(std::uint16_t type) {
        if (used_ >= kFlushAt) flush();
        recordStart_ = used_;
        used_ += kHeaderSize;
        std::memcpy(buffer_.get() + recordStart_, &type, 2);
    }
    // Sets the open record's length; may be called again after more bytes.
    void end() {
        auto length = static_cast<std::uint16_t>(bodySize());
        std::memcpy(buffer_.get() + recordStart_ + 2, &length, 2);
    }
    // Bytes of the open record's body so far.
    std::size_t bodySize() const { return used_ - recordStart_ - kHeaderSize; }
    std::size_t roomLeft() const { return kMaxBody - bodySize(); }

    void u8(std::uint8_t value) { put(&value, 1); }
    void u16(std::uint16_t value) { put(&value, 2); }
    void u32(std::uint32_t value) { put(&value, 4); }
    void bytes(std::string_view data) { put(data.data(), data.size()); }
    // Adds `size` bytes to the open record's body and returns where they
    // go, for the caller to fill in place.
    char* extend(std::size_t size) {
        if (bodySize() + size > kMaxBody) failTooLong();
        char* at = buffer_.get() + used_;
        used_ += size;
        return at;
    }

    // A whole record whose body is the given 16-bit values, stored straight
    // into the buffer.
    template <std::size_t N>
    void record(std::uint16_t type, const std::array<std::uint16_t, N>& body) {
        static_assert(2 * N <= kMaxBody);
        if (used_ >= kFlushAt) flush();
        char* at = buffer_.get() + used_;
        store16(at, type);
        store16(at + 2, 2 * N);
        for (std::size_t i = 0; i < N; ++i) store16(at + kHeaderSize + 2 * i, body[i]);
        recordStart_ = used_;
        used_ += kHeaderSize + 2 * N;
    }
    // A whole record with an empty body.
    void emptyRecord(std::uint16_t type) { begin(type); end(); }

    // Appends bytes that continue the stream with whole records (taken from
    // elsewhere), handing them to the sink without copying.
    void passThrough(std::string_view records);
    // The same for `size` bytes that `produce` writes into the sink itself;
    // a stream without a sink only counts them.
    void passThrough(std::uint64_t size, const std::function<void(ByteSink&)>& produce);
    // Hands everything buffered to the sink.
    void flush();

    // Buffers are handed over once they hold this much; a record never
    // straddles two buffers.
    static constexpr std::size_t kFlushAt = 256 * 1024;

private:
    void put(const void* value, std::size_t size) {
        std::memcpy(extend(size), value, size);  // the machine is little-endian, like BIFF
    }
    static void store16(char* at, std::uint16_t value) { std::memcpy(at, &value, 2); }
    [[noreturn]] static void failTooLong();

    ByteSink* sink_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::size_t recordStart_ = 0;
    std::uint64_t flushed_ = 0;
};

}  // namespace velloran::workbook::biff
