#pragma once
// Text as BIFF8 stores it: one byte per character when every character is
// below U+0100 ("compressed"), otherwise UTF-16LE.
#include <cstdint>
#include <string>
#include <string_view>

namespace velloran::biff {

struct EncodedText {
    std::uint32_t units = 0;  // UTF-16 code units, which is what BIFF counts
    bool wide = false;        // true: two bytes per unit
};

// Appends the character bytes of `utf8` to `out` and says how they were
// stored. Throws WorkbookError when `utf8` is not valid UTF-8.
EncodedText appendBiffCharacters(std::string_view utf8, std::string& out);

// The option flags byte that precedes or continues BIFF8 characters.
inline std::uint8_t characterFlags(bool wide) { return wide ? 0x01 : 0x00; }

// Whether a UTF-16LE unit stored at `bytes` is the first half of a pair.
inline bool isHighSurrogate(const char* bytes) {
    auto high = static_cast<std::uint8_t>(bytes[1]);
    return high >= 0xD8 && high <= 0xDB;
}

}  // namespace velloran::biff
