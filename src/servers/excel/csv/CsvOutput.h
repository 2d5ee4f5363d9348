#pragma once
// The bytes of a CSV file, made into buffers on the saving thread and
// written to the file on a thread of its own, so that the file's writes
// (copying into the system's cache, finding room on disk) run beside the
// making of the rows that follow. A few buffers go back and forth, so the
// memory stays small however large the file.
#include "AtomicFile.h"
#include "BufferChannel.h"

#include <thread>

namespace velloran::workbook::csv {

class CsvOutput {
public:
    // Bytes a buffer holds.
    static constexpr std::size_t kBufferBytes = 256 * 1024;

    // A buffer's free room, from `at` to `end`.
    struct Room {
        char* at;
        char* end;
    };

    explicit CsvOutput(AtomicFile& file);
    // Without finish(), stops the writing and drops what is not written.
    ~CsvOutput();
    CsvOutput(const CsvOutput&) = delete;
    CsvOutput& operator=(const CsvOutput&) = delete;

    // The first buffer.
    Room start();
    // Hands on the buffer filled up to `filledTo`, and gives an empty one.
    // Throws a workbook Failure once a write to the file has failed.
    Room handOver(char* filledTo);
    // Hands on the last buffer and waits until everything is written.
    // Throws a workbook Failure when a write failed.
    void finish(char* filledTo);

private:
    void send(char* filledTo);
    void writeAll();

    AtomicFile& file_;
    BufferChannel channel_;
    BufferChannel::Buffer filling_;
    std::thread writer_;  // last: started once everything else is made
};

}  // namespace velloran::workbook::csv
