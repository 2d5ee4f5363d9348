#include "CsvOutput.h"

#include "WorkbookError.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace velloran::workbook::csv {

namespace {

// Enough for the writing thread never to wait for the making one.
constexpr std::size_t kBuffers = 4;
// The file is asked to go to disk every this many buffers, so that the
// disk works while the rest is made and the sync at the end finds less.
constexpr std::size_t kWritebackEvery = 4;

}  // namespace

CsvOutput::CsvOutput(AtomicFile& file)
    : file_(file), channel_(kBuffers, kBufferBytes), writer_([this] { writeAll(); }) {}

CsvOutput::~CsvOutput() {
    if (!writer_.joinable()) return;
    channel_.stop();
    writer_.join();
}

CsvOutput::Room CsvOutput::start() {
    filling_ = channel_.takeEmpty();
    return {filling_.bytes.get(), filling_.bytes.get() + kBufferBytes};
}

CsvOutput::Room CsvOutput::handOver(char* filledTo) {
    send(filledTo);
    return start();
}

void CsvOutput::finish(char* filledTo) {
    send(filledTo);
    channel_.close();
    writer_.join();
    channel_.waitUntilDrained();
}

void CsvOutput::send(char* filledTo) {
    filling_.size = static_cast<std::size_t>(filledTo - filling_.bytes.get());
    channel_.send(std::exchange(filling_, {}));
}

// The writing thread: writes every buffer in order; a failure stops the
// channel, so the making side learns it at its next buffer.
void CsvOutput::writeAll() {
    try {
        for (std::size_t written = 1; std::optional<BufferChannel::Buffer> buffer = channel_.receive(); ++written) {
            if (std::fwrite(buffer->bytes.get(), 1, buffer->size, file_.stream()) != buffer->size)
                throw cannotSaveWorkbook(file_.target(), std::strerror(errno), errno);
            if (written % kWritebackEvery == 0) file_.startWriteback();
            channel_.giveBack(std::move(*buffer));
        }
    } catch (...) {
        channel_.stop(std::current_exception());
    }
}

}  // namespace velloran::workbook::csv
