#pragma once
// Text as BIFF8 stores it: one byte per character when every character is
// below U+0100 ("compressed"), otherwise UTF-16LE.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace velloran::biff {

struct EncodedText {
    std::uint32_t units = 0;  // UTF-16 code units, which is what BIFF counts
    bool wide = false;        // true: two bytes per unit
};

struct BiffCharacters {
    EncodedText encoding;
    std::string_view bytes;
};

// Whether `text` is all ASCII, eight bytes at a time: every cell text
// passes through here, and inline, as some callers test it for every cell.
inline bool isAscii(std::string_view text) {
    std::uint64_t seen = 0;
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        seen |= word;
    }
    for (; at < text.size(); ++at) seen |= static_cast<unsigned char>(text[at]);
    return (seen & 0x8080808080808080ull) == 0;
}

// The UTF-16 length of `utf8` and whether it needs two bytes a character.
// Throws WorkbookError when `utf8` is not valid UTF-8.
EncodedText measureText(std::string_view utf8);

// The characters of `utf8` as BIFF8 stores them: `utf8` itself when it is
// all ASCII, otherwise encoded into `buffer`, which then holds them. Throws
// WorkbookError when `utf8` is not valid UTF-8.
BiffCharacters biffCharacters(std::string_view utf8, std::string& buffer);

// The option flags byte that precedes or continues BIFF8 characters.
inline std::uint8_t characterFlags(bool wide) { return wide ? 0x01 : 0x00; }

// The header in front of a shared string's characters: the count of UTF-16
// units, then the flags byte.
using StringHeader = std::array<char, 3>;

inline StringHeader stringHeader(EncodedText text) {
    return {static_cast<char>(text.units & 0xFF), static_cast<char>(text.units >> 8),
            static_cast<char>(characterFlags(text.wide))};
}

// Whether a UTF-16LE unit stored at `bytes` is the first half of a pair.
inline bool isHighSurrogate(const char* bytes) {
    auto high = static_cast<std::uint8_t>(bytes[1]);
    return high >= 0xD8 && high <= 0xDB;
}

}  // namespace velloran::biff
