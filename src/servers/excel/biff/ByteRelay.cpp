#include "ByteRelay.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace velloran::workbook::biff {

namespace {

// Enough for the writing side to keep busy; the memory stays small however
// large the stream.
constexpr std::size_t kBuffers = 6;
constexpr std::size_t kBufferBytes = 512 * 1024;

}  // namespace

ByteRelay::ByteRelay() : channel_(kBuffers, kBufferBytes) {}

void ByteRelay::write(const char* data, std::size_t size) {
    while (size > 0) {
        if (!filling_.bytes) filling_ = channel_.takeEmpty();
        std::size_t piece = std::min(size, kBufferBytes - filling_.size);
        std::memcpy(filling_.bytes.get() + filling_.size, data, piece);
        filling_.size += piece;
        data += piece;
        size -= piece;
        if (filling_.size == kBufferBytes) channel_.send(std::exchange(filling_, {}));
    }
}

void ByteRelay::finish(std::exception_ptr failure) {
    if (failure) return channel_.stop(failure);
    if (filling_.size > 0) channel_.send(std::exchange(filling_, {}));
    channel_.close();
}

void ByteRelay::drainInto(ByteSink& sink) {
    while (std::optional<BufferChannel::Buffer> buffer = channel_.receive()) {
        sink.write(buffer->bytes.get(), buffer->size);
        channel_.giveBack(std::move(*buffer));
    }
}

}  // namespace velloran::workbook::biff
