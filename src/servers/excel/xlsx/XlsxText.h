#pragma once
// Cell text as an .xlsx sheet holds it. XML 1.0 cannot carry the control
// characters below U+0020 (other than tab and line feed), and a carriage
// return would come back as a line feed, so these, and U+FFFE and U+FFFF,
// are written in the format's own escape "_xHHHH_", which spreadsheet
// programs read back as the character; a text that itself holds what would
// read as such a sequence has its underscore escaped ("_x005F_") so that it
// reads back unchanged.
//
// The sheet library escapes the control characters itself, after it has
// checked that the text has at most kMaxWrittenCharacters characters, the
// most a cell holds; the escapes made here count towards that. A text that
// the underscores' and non-characters' escapes make too long keeps the
// longest start of it that fits (a cell of the export holds at most
// kMaxWrittenCharacters before escaping, so only a text of such sequences
// near the limit is cut).
#include <cstddef>
#include <string>
#include <string_view>

namespace velloran::workbook::xlsx {

inline constexpr std::size_t kMaxWrittenCharacters = 32767;

// Replaces `out` with `utf8` escaped as above but for its control
// characters, in at most kMaxWrittenCharacters characters.
void escapeText(std::string_view utf8, std::string& out);

}  // namespace velloran::workbook::xlsx
