#pragma once
// Cell text as an .xlsx sheet holds it. XML 1.0 cannot carry the control
// characters below U+0020 (other than tab and line feed), and a carriage
// return would come back as a line feed, so these, and U+FFFE and U+FFFF,
// are written in the format's own escape "_xHHHH_", which spreadsheet
// programs read back as the character; a text that itself holds such a
// sequence has its underscore escaped ("_x005F_") so that it reads back
// unchanged.
#include <string>
#include <string_view>

namespace velloran::workbook::xlsx {

// Replaces `out` with `utf8` escaped as above.
void escapeText(std::string_view utf8, std::string& out);

}  // namespace velloran::workbook::xlsx
