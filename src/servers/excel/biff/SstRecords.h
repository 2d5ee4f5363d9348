#pragma once
// The shared-string table of a workbook's texts: an SST record and its
// CONTINUE records, laid out string by string, and the EXTSST index into
// them. The table is measured once before the stream is planned, then
// written as it is laid out again.
#include "RecordStream.h"
#include "TextTable.h"

#include <cstdint>
#include <vector>

namespace velloran::workbook::biff {

class SstRecords {
public:
    // Measures the records of `texts`. Throws WorkbookError when they do
    // not fit one file (4 GB).
    explicit SstRecords(const TextTable& texts);

    std::uint32_t size() const { return texts_.size(); }
    // Bytes the SST and CONTINUE records take.
    std::uint64_t byteSize() const { return byteSize_; }

    // Writes SST, its CONTINUE records and EXTSST; `references` is the
    // number of cells that use the table.
    void write(RecordStream& out, std::uint32_t references) const;

private:
    // Where every keptEvery_-th string's header is, from the SST record's
    // start, and its offset in its record; EXTSST needs nothing else. When
    // the list grows long, every other entry is dropped and keptEvery_
    // doubles, so the list stays short however many strings there are.
    struct Position {
        std::uint32_t position;
        std::uint32_t inRecord;
    };
    class Layout;

    void keepPosition(std::uint32_t index, const Position& position);
    void writeExtSst(RecordStream& out, std::uint64_t start) const;

    const TextTable& texts_;
    std::uint64_t byteSize_ = 0;
    std::vector<Position> positions_;
    std::uint32_t keptEvery_;
};

}  // namespace velloran::workbook::biff
