#pragma once
// A workbook filled on a thread of its own. The caller's thread checks each
// cell write and queues it; a worker applies the writes to the workbook in
// the order they were made, so that storing texts runs beside the caller's
// own work (reading documents, making late-bound calls).
//
// A text or number a cell cannot hold is refused by the call that writes
// it. A failure only the stored workbook can find (more texts than it can
// take, a full temporary folder) is thrown by the next write or by
// applied(), and by every call after it: such a workbook is never saved.
#include "BufferChannel.h"
#include "Workbook.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <thread>

namespace velloran::workbook {

class QueuedWorkbook {
public:
    // `placement` as for Workbook.
    explicit QueuedWorkbook(std::unique_ptr<TextPlacement> placement = nullptr);
    ~QueuedWorkbook();
    QueuedWorkbook(const QueuedWorkbook&) = delete;
    QueuedWorkbook& operator=(const QueuedWorkbook&) = delete;

    // As on Workbook; rows and columns count from 0.
    void setText(std::uint32_t row, std::uint32_t column, std::string_view utf8);
    void setNumber(std::uint32_t row, std::uint32_t column, double value);
    void setFormat(std::uint32_t row, std::uint32_t column, CellFormat format);
    void setColumnWidth(std::uint32_t column, double characters);

    // Waits for every queued write and gives the workbook they made, for a
    // writer to save.
    Workbook& applied();

private:
    struct Entry;

    void queue(std::uint32_t row, std::uint32_t column, std::uint32_t tag, std::string_view payload);
    void sendFilling();
    void handOver();
    void waitUntilApplied();
    void work();
    void apply(const BufferChannel::Buffer& batch);

    Workbook workbook_;
    BufferChannel channel_;
    BufferChannel::Buffer filling_;  // queued writes, one after another (see Entry)
    std::thread worker_;             // last: started once everything else is made
};

}  // namespace velloran::workbook
