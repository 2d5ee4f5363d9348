#include "GlobalsRecords.h"

#include "CommonRecords.h"
#include "RecordTypes.h"

#include <string_view>

namespace velloran::workbook::biff {

namespace {

constexpr std::uint16_t kUnicodeCodePage = 1200;
// Font index 4 does not exist in BIFF, so five records give indexes 0-3 and 5.
constexpr int kFontCount = 5;
constexpr int kStyleXfCount = 15;

void writeWindow1(RecordStream& out) {
    out.begin(record::kWindow1);
    for (std::uint16_t value : {0x01E0, 0x005A, 0x3FCF, 0x2A4E})  // position and size, in twips
        out.u16(value);
    out.u16(0x0038);  // show the horizontal and vertical scroll bars and the sheet tabs
    out.u16(0);       // active sheet
    out.u16(0);       // first visible tab
    out.u16(1);       // selected tabs
    out.u16(0x0258);  // tab bar width, per mille
    out.end();
}

void writeFont(RecordStream& out) {
    out.begin(record::kFont);
    out.u16(200);     // 10 points, in twentieths
    out.u16(0);       // no italic, strike-out, outline or shadow
    out.u16(0x7FFF);  // the window text colour
    out.u16(400);     // normal weight
    out.u16(0);       // no super- or subscript
    out.u8(0);        // no underline
    out.u8(0);        // family
    out.u8(0);        // character set
    out.u8(0);
    writeShortString(out, "Arial");
    out.end();
}

// One XF record: font, number format, type and protection, and the flags
// that say which attribute groups it sets.
void writeXf(RecordStream& out, std::uint16_t font, std::uint16_t numberFormat, std::uint16_t typeAndParent,
             std::uint8_t usedAttributes) {
    out.begin(record::kXf);
    out.u16(font);
    out.u16(numberFormat);
    out.u16(typeAndParent);
    out.u8(0x20);  // aligned to the bottom
    out.u8(0);     // no rotation
    out.u8(0);     // no indent
    out.u8(usedAttributes);
    out.u32(0);       // no borders
    out.u32(0);       // no border colours or fill pattern
    out.u16(0x20C0);  // default pattern colours
    out.end();
}

void writeNumberFormat(RecordStream& out, std::uint16_t index, std::string_view code) {
    out.begin(record::kFormat);
    out.u16(index);
    out.u16(static_cast<std::uint16_t>(code.size()));
    out.u8(characterFlags(false));
    out.bytes(code);
    out.end();
}

void writeCellFormats(RecordStream& out, bool dates) {
    constexpr std::uint16_t kStyleXf = 0xFFF5;  // a style format, locked, no parent
    constexpr std::uint16_t kCellXf = 0x0001;   // a cell format, locked, parent style 0
    constexpr std::uint8_t kStyleUsesNothing = 0xF4;
    constexpr std::uint8_t kUsesNumberFormat = 0x04;
    writeXf(out, 0, 0, kStyleXf, 0);
    for (int index = 1; index < kStyleXfCount; ++index) {
        std::uint16_t font = index <= 2 ? 1 : index <= 4 ? 2 : 0;
        writeXf(out, font, 0, kStyleXf, kStyleUsesNothing);
    }
    writeXf(out, 0, 0, kCellXf, 0);                                    // kGeneralXf
    writeXf(out, 0, kTextNumberFormat, kCellXf, kUsesNumberFormat);  // kTextXf
    if (!dates) return;
    writeXf(out, 0, kDateTimeNumberFormat, kCellXf, kUsesNumberFormat);  // kDateTimeXf
    writeXf(out, 0, kDateNumberFormat, kCellXf, kUsesNumberFormat);      // kDateXf
}

void writeNormalStyle(RecordStream& out) {
    out.begin(record::kStyle);
    out.u16(0x8000);  // built-in style on XF 0
    out.u8(0);        // "Normal"
    out.u8(0xFF);     // no outline level
    out.end();
}

void writeBoundSheet(RecordStream& out, const SheetEntry& sheet) {
    out.begin(record::kBoundSheet);
    out.u32(sheet.offset);
    out.u8(0);  // visible
    out.u8(0);  // worksheet
    writeShortString(out, sheet.name);
    out.end();
}

}  // namespace

void writeGlobals(RecordStream& out, const std::vector<SheetEntry>& sheets, const SstRecords& strings,
                  std::uint32_t stringReferences, bool dates) {
    writeBof(out, Substream::Globals);
    out.begin(record::kCodePage);
    out.u16(kUnicodeCodePage);
    out.end();
    writeWindow1(out);
    for (int font = 0; font < kFontCount; ++font) writeFont(out);
    if (dates) {
        writeNumberFormat(out, kDateTimeNumberFormat, kDateTimeFormatCode);
        writeNumberFormat(out, kDateNumberFormat, kDateFormatCode);
    }
    writeCellFormats(out, dates);
    writeNormalStyle(out);
    for (const SheetEntry& sheet : sheets) writeBoundSheet(out, sheet);
    strings.write(out, stringReferences);
    writeEof(out);
}

}  // namespace velloran::workbook::biff
