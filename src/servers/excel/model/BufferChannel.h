#pragma once
// Buffers passed from one thread to another in the order they were sent and
// handed back for reuse, so that two threads can work through a stream of
// bytes side by side in a fixed amount of memory. Either side can stop the
// channel, with a failure or by giving up; the other side learns it the next
// time it waits.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace velloran::workbook {

class BufferChannel {
public:
    struct Buffer {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
    };

    // What the sending side gets once the other side has given up.
    class Cancelled : public std::exception {
    public:
        const char* what() const noexcept override { return "the other side no longer takes the data"; }
    };

    BufferChannel(std::size_t buffers, std::size_t bufferBytes);
    std::size_t bufferBytes() const { return bufferBytes_; }

    // The sending side. takeEmpty waits for a buffer that is free; it throws
    // the failure that stopped the channel, or Cancelled.
    Buffer takeEmpty();
    void send(Buffer buffer);
    // Nothing more will be sent.
    void close();

    // The receiving side. receive waits for the next buffer; it gives none
    // once the channel is closed and empty or has been cancelled, and throws
    // the failure that stopped it.
    std::optional<Buffer> receive();
    void giveBack(Buffer buffer);

    // Either side: waits until every buffer sent has been given back, then
    // throws the failure that stopped the channel, if any.
    void waitUntilDrained();
    // Either side: stops the channel with `failure`, or, without one, gives
    // up. The first stop counts.
    void stop(std::exception_ptr failure = nullptr);

private:
    void throwIfFailed() const;

    const std::size_t bufferBytes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Buffer> free_;
    std::deque<Buffer> sent_;
    std::size_t out_ = 0;  // buffers received and not yet given back
    bool closed_ = false;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

}  // namespace velloran::workbook
