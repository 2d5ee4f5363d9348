#pragma once
// The shared-string table of a workbook's texts as .xls stores it: an SST
// record and its CONTINUE records, laid out as SstPlacement placed them,
// and the EXTSST index into them.
#include "RecordStream.h"
#include "SstPlacement.h"
#include "TextTable.h"

#include <cstdint>
#include <memory>

namespace velloran::workbook::biff {

class SstRecords {
public:
    // The texts as their placement placed them while the workbook was
    // filled, or placed now when the workbook followed another placement.
    explicit SstRecords(const TextTable& texts);

    std::uint32_t size() const { return texts_.size(); }
    // Bytes the SST and CONTINUE records take. Throws a workbook Failure when
    // they do not fit one file (4 GB).
    std::uint64_t byteSize() const { return placement_->byteSize(); }

    // Writes SST, its CONTINUE records and EXTSST; `references` is the
    // number of cells that use the table.
    void write(RecordStream& out, std::uint32_t references) const;

private:
    void writeRecords(RecordStream& stream, std::uint32_t references) const;
    void writeExtSst(RecordStream& out, std::uint64_t start) const;

    const TextTable& texts_;
    std::unique_ptr<SstPlacement> placedNow_;
    const SstPlacement* placement_;
};

}  // namespace velloran::workbook::biff
