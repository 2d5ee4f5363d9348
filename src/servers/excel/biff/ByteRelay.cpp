#include "ByteRelay.h"

#include <algorithm>
#include <cstring>

namespace velloran::biff {

namespace {

constexpr std::size_t kBufferBytes = 512 * 1024;
// Enough for the writing side to keep busy; the memory stays small however
// large the stream.
constexpr std::size_t kBuffers = 6;

}  // namespace

ByteRelay::ByteRelay() {
    for (std::size_t i = 0; i < kBuffers; ++i) free_.push_back({std::unique_ptr<char[]>(new char[kBufferBytes]), 0});
}

void ByteRelay::write(const char* data, std::size_t size) {
    std::unique_lock lock(mutex_);
    while (size > 0) {
        Buffer& buffer = fillingBuffer(lock);
        std::size_t piece = std::min(size, kBufferBytes - buffer.size);
        // The buffer belongs to this side until it is handed over.
        lock.unlock();
        std::memcpy(buffer.bytes.get() + buffer.size, data, piece);
        lock.lock();
        buffer.size += piece;
        data += piece;
        size -= piece;
        if (buffer.size == kBufferBytes) handOverFilling();
    }
}

// With the lock held: the buffer being filled, taking a free one when there
// is none, waiting for one when none is free.
ByteRelay::Buffer& ByteRelay::fillingBuffer(std::unique_lock<std::mutex>& lock) {
    if (filling_.bytes) return filling_;
    changed_.wait(lock, [&] { return !free_.empty() || cancelled_; });
    if (cancelled_) throw RelayCancelled();
    filling_ = std::move(free_.back());
    free_.pop_back();
    filling_.size = 0;
    return filling_;
}

// With the lock held.
void ByteRelay::handOverFilling() {
    full_.push_back(std::move(filling_));
    filling_ = {};
    changed_.notify_all();
}

void ByteRelay::finish(std::exception_ptr failure) {
    std::lock_guard lock(mutex_);
    if (filling_.bytes && filling_.size > 0) handOverFilling();
    finished_ = true;
    failure_ = failure;
    changed_.notify_all();
}

void ByteRelay::drainInto(ByteSink& sink) {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return !full_.empty() || finished_; });
        if (full_.empty()) break;
        Buffer buffer = std::move(full_.front());
        full_.pop_front();
        lock.unlock();
        sink.write(buffer.bytes.get(), buffer.size);
        lock.lock();
        free_.push_back(std::move(buffer));
        changed_.notify_all();
    }
    if (failure_) std::rethrow_exception(failure_);
}

void ByteRelay::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    changed_.notify_all();
}

}  // namespace velloran::biff
