#pragma once
// Finding text in text and counting characters (UTF-8 lead bytes), in time
// linear in the lengths, for the text functions.
#include <cstddef>
#include <string_view>

namespace velloran::notes::formula {

// Where `part` first occurs in `text`, or npos; 0 for an empty part.
std::size_t findText(std::string_view text, std::string_view part);
// Where `part` last occurs in `text`, or npos; the end for an empty part.
std::size_t findLastText(std::string_view text, std::string_view part);
// The byte where character `index` starts, counting characters as
// text::characterCount does; the end of the text when there are fewer.
std::size_t characterStart(std::string_view text, std::size_t index);

}  // namespace velloran::notes::formula
