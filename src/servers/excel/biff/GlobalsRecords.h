#pragma once
// The workbook globals substream: workbook settings, fonts, cell formats,
// the list of sheets with the offsets of their substreams, and the
// shared-string table.
#include "RecordStream.h"
#include "SharedStrings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velloran::biff {

struct SheetEntry {
    std::string name;
    std::uint32_t offset;  // stream offset of the sheet's BOF record
};

void writeGlobals(RecordStream& out, const std::vector<SheetEntry>& sheets, const SharedStrings& strings,
                  std::uint32_t stringReferences);

}  // namespace velloran::biff
