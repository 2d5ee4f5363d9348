#pragma once
// Values as the XML export writes them: date-times such as
// "20010522T103636,81-04", numbers, item flags and access levels.
#include "api/NotesApi.h"
#include "store/Records.h"

#include <optional>
#include <string_view>

namespace velloran::tools::dxl {

// Item flags kept with each item, as the stored databases number them.
inline constexpr int kFlagSummary = 0x0004;
inline constexpr int kFlagAuthors = 0x0020;
inline constexpr int kFlagNames = 0x0040;
inline constexpr int kFlagReaders = 0x0400;

// Reads "YYYYMMDD", "YYYYMMDDTHHMMSS[,hh]" or "THHMMSS[,hh]", the last two
// with an optional zone ("Z", "+HH", "-HHMM"). A moment without a zone is
// taken as UTC; a date alone has no time; a time alone has no date and
// keeps the time as written. Nothing when the text is none of these.
std::optional<notes::DateTime> parseDateTime(std::string_view text);

// A decimal number, surrounding blanks allowed; nothing otherwise.
std::optional<double> parseNumber(std::string_view text);

// "noaccess" .. "manager"; nothing for another word.
std::optional<notes::store::AccessLevel> parseAccessLevel(std::string_view level);

}  // namespace velloran::tools::dxl
