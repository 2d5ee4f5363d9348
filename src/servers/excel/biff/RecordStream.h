#pragma once
// Writes BIFF records (type, length, body) through a buffer into a byte
// sink, or only counts their bytes when there is no sink, so that the same
// code measures a part of the stream before writing it.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace velloran::biff {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, std::size_t size) = 0;
};

class RecordStream {
public:
    // The largest record body BIFF8 allows.
    static constexpr std::size_t kMaxBody = 8224;

    // `sink` null: nothing is written, positions are still counted.
    explicit RecordStream(ByteSink* sink);
    ~RecordStream();
    RecordStream(const RecordStream&) = delete;
    RecordStream& operator=(const RecordStream&) = delete;

    // Offset from the start of the stream of the next byte.
    std::uint64_t position() const { return flushed_ + used_; }

    void begin(std::uint16_t type);
    void end();
    // Bytes of the open record's body so far.
    std::size_t bodySize() const { return used_ - recordStart_ - 4; }
    std::size_t roomLeft() const { return kMaxBody - bodySize(); }

    void u8(std::uint8_t value) { put(&value, 1); }
    void u16(std::uint16_t value) { put(&value, 2); }
    void u32(std::uint32_t value) { put(&value, 4); }
    void bytes(std::string_view data);

    // A whole record with an empty body.
    void emptyRecord(std::uint16_t type) { begin(type); end(); }
    // Hands everything buffered to the sink.
    void flush();

private:
    void put(const void* value, std::size_t size) {
        checkRoom(size);
        std::memcpy(buffer_.get() + used_, value, size);  // the machine is little-endian, like BIFF
        used_ += size;
    }
    void checkRoom(std::size_t size) const;

    ByteSink* sink_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::size_t recordStart_ = 0;
    std::uint64_t flushed_ = 0;
};

}  // namespace velloran::biff
