#pragma once
// The workbook globals substream: workbook settings, fonts, cell formats,
// the list of sheets with the offsets of their substreams, and the
// shared-string table.
#include "RecordStream.h"
#include "SstRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velloran::workbook::biff {

struct SheetEntry {
    std::string name;
    std::uint32_t offset;  // stream offset of the sheet's BOF record
};

// `dates`: whether any cell has the date-time or the date format, which
// then get their FORMAT and XF records.
void writeGlobals(RecordStream& out, const std::vector<SheetEntry>& sheets, const SstRecords& strings,
                  std::uint32_t stringReferences, bool dates);

}  // namespace velloran::workbook::biff
