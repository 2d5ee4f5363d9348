#pragma once
// The text of an HTML mail body, for a mail that has no plain text part.
#include <string>
#include <string_view>

namespace velloran::tools::dxl {

// The readable text of `html` (UTF-8): tags dropped, scripts, styles and
// comments left out, line breaks where a block or <br> ends a line,
// character references decoded, blanks collapsed, and line ends kept inside
// <pre>. Lines end with '\n'.
std::string htmlToText(std::string_view html);

}  // namespace velloran::tools::dxl
