#include "BufferChannel.h"

namespace velloran::workbook {

BufferChannel::BufferChannel(std::size_t buffers, std::size_t bufferBytes) : bufferBytes_(bufferBytes) {
    for (std::size_t i = 0; i < buffers; ++i) free_.push_back({std::unique_ptr<char[]>(new char[bufferBytes]), 0});
}

BufferChannel::Buffer BufferChannel::takeEmpty() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !free_.empty() || stopped_; });
    throwIfFailed();
    if (stopped_) throw Cancelled();
    Buffer buffer = std::move(free_.back());
    free_.pop_back();
    buffer.size = 0;
    return buffer;
}

void BufferChannel::send(Buffer buffer) {
    {
        std::lock_guard lock(mutex_);
        sent_.push_back(std::move(buffer));
    }
    changed_.notify_all();
}

void BufferChannel::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    changed_.notify_all();
}

std::optional<BufferChannel::Buffer> BufferChannel::receive() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return !sent_.empty() || closed_ || stopped_; });
    throwIfFailed();
    if (stopped_ || sent_.empty()) return std::nullopt;
    Buffer buffer = std::move(sent_.front());
    sent_.pop_front();
    ++out_;
    return buffer;
}

void BufferChannel::giveBack(Buffer buffer) {
    {
        std::lock_guard lock(mutex_);
        free_.push_back(std::move(buffer));
        --out_;
    }
    changed_.notify_all();
}

void BufferChannel::waitUntilDrained() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return (sent_.empty() && out_ == 0) || stopped_; });
    throwIfFailed();
}

void BufferChannel::stop(std::exception_ptr failure) {
    {
        std::lock_guard lock(mutex_);
        if (stopped_) return;
        stopped_ = true;
        failure_ = failure;
    }
    changed_.notify_all();
}

// With the lock held.
void BufferChannel::throwIfFailed() const {
    if (failure_) std::rethrow_exception(failure_);
}

}  // namespace velloran::workbook
