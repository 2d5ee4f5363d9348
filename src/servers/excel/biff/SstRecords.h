#pragma once
// The shared-string table records: SST with its CONTINUE records, and the
// EXTSST index into them.
#include "RecordStream.h"
#include "SharedStrings.h"

#include <cstdint>
#include <vector>

namespace velloran::biff {

// Where every n-th string starts, for EXTSST.
struct SstBucket {
    std::uint32_t streamPosition;
    std::uint16_t recordOffset;  // from the start of its record, header included
};

// Writes SST and CONTINUE records. A string's 3-byte header is never split
// from its first character, a continued string's next record starts with
// the flags byte again, and a UTF-16 surrogate pair is never split.
// `references` is the number of cells that use the table.
std::vector<SstBucket> writeSst(RecordStream& out, const SharedStrings& strings, std::uint32_t references);

void writeExtSst(RecordStream& out, const std::vector<SstBucket>& buckets, std::uint32_t stringCount);

}  // namespace velloran::biff
