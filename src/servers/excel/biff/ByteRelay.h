#pragma once
// Bytes made on one thread and written on another, in order: the saving
// thread writes the start of the stream while a second thread makes what
// follows it, through a few buffers that go back and forth.
#include "BufferChannel.h"
#include "RecordStream.h"

#include <exception>

namespace velloran::workbook::biff {

class ByteRelay : public ByteSink {
public:
    ByteRelay();

    // The making side: copies the bytes into the buffers, waiting while
    // they are all full. Throws BufferChannel::Cancelled once the writing
    // side gave up.
    void write(const char* data, std::size_t size) override;
    // The making side is done; `failure` is what stopped it, if anything.
    void finish(std::exception_ptr failure = nullptr);

    // The writing side: passes every byte on to `sink` until the making
    // side has finished, then throws what stopped it, if anything.
    void drainInto(ByteSink& sink);
    // The writing side gives up: the making side's next wait throws.
    void cancel() { channel_.stop(); }

private:
    BufferChannel channel_;
    BufferChannel::Buffer filling_;
};

}  // namespace velloran::workbook::biff
