#pragma once
// Small UTF-8 helpers: the engine counts characters, not bytes, wherever a
// person would (line lengths, @Length, @Left).
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::notes::text {

// Byte length of the UTF-8 sequence starting with `lead` (1 for a stray
// continuation byte, so damaged text still advances).
std::size_t sequenceLength(unsigned char lead);
// The text split into characters, each a UTF-8 sequence.
std::vector<std::string_view> characters(std::string_view text);
std::size_t characterCount(std::string_view text);
// ASCII letters folded; other characters unchanged.
std::string upper(std::string_view text);
std::string lower(std::string_view text);
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// Removes characters of code 32 or below at both ends.
std::string_view trimmed(std::string_view text);

}  // namespace velloran::notes::text
