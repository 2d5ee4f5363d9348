#pragma once
// Bytes made on one thread and written on another, in order, through a few
// buffers that go back and forth: the saving thread writes the start of
// the stream while a second thread makes what follows it, so that neither
// waits for the other more than the buffers make it.
#include "RecordStream.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

namespace velloran::biff {

class ByteRelay : public ByteSink {
public:
    ByteRelay();

    // The making side: copies the bytes into the buffers, waiting while
    // they are all full. Throws RelayCancelled once the writing side gave up.
    void write(const char* data, std::size_t size) override;
    // The making side is done; `failure` is what stopped it, if anything.
    void finish(std::exception_ptr failure = nullptr);

    // The writing side: passes every byte on to `sink` until the making
    // side has finished, then throws what stopped it, if anything.
    void drainInto(ByteSink& sink);
    // The writing side gives up: the making side's next write throws.
    void cancel();

    class RelayCancelled : public std::exception {
    public:
        const char* what() const noexcept override { return "the bytes are no longer wanted"; }
    };

private:
    struct Buffer {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };

    Buffer& fillingBuffer(std::unique_lock<std::mutex>& lock);
    void handOverFilling();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Buffer> free_;
    std::deque<Buffer> full_;
    Buffer filling_;
    bool finished_ = false;
    bool cancelled_ = false;
    std::exception_ptr failure_;
};

}  // namespace velloran::biff
