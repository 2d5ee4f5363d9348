#pragma once
// Bytes appended one piece after another and read back by position: the
// latest ones in a buffer, the rest in a spill file, so that memory stays
// the same however much is appended. A piece never straddles the buffer and
// the file, so a piece still in the buffer can be looked at in place.
#include "SpillFile.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace velloran::workbook {

class SpilledLog {
public:
    // The buffer holds `bufferBytes`; no piece may be longer.
    explicit SpilledLog(std::size_t bufferBytes);

    // Appends `piece` and returns its position. Throws a workbook Failure when
    // the spill file fails.
    std::uint64_t append(std::string_view piece) {
        if (used_ + piece.size() > capacity_) spill();
        char* at = buffer_.get() + used_;
        std::memcpy(at, piece.data(), piece.size());
        used_ += piece.size();
        return spilled_.size() + (at - buffer_.get());
    }
    // Room for a piece of `size` bytes, which the caller fills in place and
    // then hands over with commit(size); returns where the piece starts.
    char* reserve(std::size_t size) {
        if (used_ + size > capacity_) spill();
        return buffer_.get() + used_;
    }
    void commit(std::size_t size) { used_ += size; }

    // The bytes at `position` while they are in the buffer, else null.
    const char* held(std::uint64_t position) const {
        return position >= spilled_.size() ? buffer_.get() + (position - spilled_.size()) : nullptr;
    }
    // Where the next piece goes: the bytes appended so far.
    std::uint64_t size() const { return spilled_.size() + used_; }
    // Copies `size` bytes from `position` (within size()) into `into`.
    void read(std::uint64_t position, char* into, std::size_t size) const;
    std::size_t heldBytes() const { return capacity_; }
    // Moves everything appended so far to the spill file.
    void spill();

private:
    SpillFile spilled_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

// A window onto a SpilledLog for a reader that goes through it mostly in
// order: bytes are read a large piece at a time.
class LogWindow {
public:
    LogWindow(const SpilledLog& log, std::size_t windowBytes) : log_(log), windowBytes_(windowBytes) {}

    // The `size` bytes at `position` (within the log), valid until the next
    // call.
    const char* at(std::uint64_t position, std::size_t size) {
        if (position < start_ || position + size > start_ + bytes_.size()) load(position, size);
        return bytes_.data() + (position - start_);
    }

private:
    void load(std::uint64_t position, std::size_t size);

    const SpilledLog& log_;
    std::size_t windowBytes_;
    std::vector<char> bytes_;
    std::uint64_t start_ = 0;
};

}  // namespace velloran::workbook
