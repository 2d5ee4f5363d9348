#include "CommonRecords.h"

#include "CompactText.h"
#include "RecordTypes.h"

#include <string>

namespace velloran::workbook::biff {

void writeBof(RecordStream& out, Substream kind) {
    out.begin(record::kBof);
    out.u16(0x0600);  // BIFF8
    out.u16(static_cast<std::uint16_t>(kind));
    out.u16(0x0DBB);  // build
    out.u16(0x07CC);  // year
    out.u32(0);       // file history flags
    out.u32(0x06);    // lowest version that can read the file: BIFF8
    out.end();
}

void writeEof(RecordStream& out) { out.emptyRecord(record::kEof); }

void writeShortString(RecordStream& out, std::string_view utf8) {
    std::string buffer;
    CompactText characters = compactCharacters(utf8, buffer);
    out.u8(static_cast<std::uint8_t>(characters.encoding.units));
    out.u8(characterFlags(characters.encoding.wide));
    out.bytes(characters.bytes);
}

}  // namespace velloran::workbook::biff
