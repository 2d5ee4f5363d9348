#pragma once
// Records that both the workbook globals and each sheet use.
#include "RecordStream.h"

#include <cstdint>
#include <string_view>

namespace velloran::workbook::biff {

// Cell formats (XF records): 0-14 are the built-in style formats, 15 the
// default cell format, 16 ours for text, 17 and 18 ours for date-times and
// dates (only in a workbook that has either).
constexpr std::uint16_t kGeneralXf = 15;
constexpr std::uint16_t kTextXf = 16;
constexpr std::uint16_t kDateTimeXf = 17;
constexpr std::uint16_t kDateXf = 18;
// Built-in number format "@".
constexpr std::uint16_t kTextNumberFormat = 49;
// Our number formats for date-times and dates, the first indexes free for
// workbook formats.
constexpr std::uint16_t kDateTimeNumberFormat = 164;
constexpr const char* kDateTimeFormatCode = "yyyy-mm-dd hh:mm:ss";
constexpr std::uint16_t kDateNumberFormat = 165;
constexpr const char* kDateFormatCode = "yyyy-mm-dd";

enum class Substream : std::uint16_t { Globals = 0x0005, Worksheet = 0x0010 };

void writeBof(RecordStream& out, Substream kind);
void writeEof(RecordStream& out);
// A string with a one-byte character count, as sheet and font names are kept.
void writeShortString(RecordStream& out, std::string_view utf8);

}  // namespace velloran::workbook::biff
