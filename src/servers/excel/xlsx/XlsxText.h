#pragma once
// Cell text as an .xlsx sheet holds it. XML 1.0 cannot carry the control
// characters below U+0020 (other than tab and line feed), and a carriage
// return would come back as a line feed, so these, and U+FFFE and U+FFFF,
// are written in the format's own escape "_xHHHH_", which spreadsheet
// programs read back as the character; a text that itself holds such a
// sequence has its underscore escaped ("_x005F_") so that it reads back
// unchanged.
//
// The sheet library takes at most kMaxWrittenCharacters characters for a
// cell, escapes included, while a cell holds that many characters before
// escaping. So that every text a cell holds is written, one whose escapes
// would make it longer has its CR LF line ends written as they are (they
// read back as LF, the same line break); a text that still does not fit
// (thousands of other control characters) keeps the longest start of it
// that does.
#include <cstddef>
#include <string>
#include <string_view>

namespace velloran::workbook::xlsx {

inline constexpr std::size_t kMaxWrittenCharacters = 32767;

// Replaces `out` with `utf8` escaped as above, in at most
// kMaxWrittenCharacters characters.
void escapeText(std::string_view utf8, std::string& out);

}  // namespace velloran::workbook::xlsx
