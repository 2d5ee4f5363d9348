#pragma once
// Text as the workbook model keeps it: one byte a character (ISO 8859-1)
// when every character is below U+0100, otherwise UTF-16LE, behind a small
// header that gives the length in UTF-16 units. The compact form costs
// nothing for ASCII text, which is stored as it comes, and every writer
// turns it into what its file format takes (the 8-bit or UTF-16 strings of
// .xls, the UTF-8 of .xlsx and CSV).
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace velloran::workbook {

struct EncodedText {
    std::uint32_t units = 0;  // UTF-16 code units, the length every format counts
    bool wide = false;        // true: two bytes per unit
};

struct CompactText {
    EncodedText encoding;
    std::string_view bytes;  // the characters, one or two bytes a unit
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
// Throws a workbook Failure when `utf8` is not valid UTF-8.
EncodedText measureText(std::string_view utf8);

// The characters of `utf8` in the compact form: `utf8` itself when it is
// all ASCII, otherwise encoded into `buffer`, which then holds them. Throws
// a workbook Failure when `utf8` is not valid UTF-8.
CompactText compactCharacters(std::string_view utf8, std::string& buffer);

// Appends the characters of `text` to `out` as UTF-8.
void appendUtf8(std::string& out, const CompactText& text);

// The flags byte of the header: bit 0 set for two bytes a character.
inline std::uint8_t characterFlags(bool wide) { return wide ? 0x01 : 0x00; }

// The header in front of a stored text's characters: the count of UTF-16
// units, then the flags byte.
using StringHeader = std::array<char, 3>;

inline StringHeader stringHeader(EncodedText text) {
    return {static_cast<char>(text.units & 0xFF), static_cast<char>(text.units >> 8),
            static_cast<char>(characterFlags(text.wide))};
}

// The text whose header starts at `stored`; its characters follow it.
inline CompactText storedText(const char* stored) {
    EncodedText encoding{static_cast<std::uint32_t>(static_cast<unsigned char>(stored[0]) |
                                                    static_cast<unsigned char>(stored[1]) << 8),
                         (stored[2] & 0x01) != 0};
    std::size_t size = encoding.units * (encoding.wide ? 2 : 1);
    return {encoding, {stored + sizeof(StringHeader), size}};
}

// Bytes the stored text takes, header included.
inline std::size_t storedSize(const CompactText& text) { return sizeof(StringHeader) + text.bytes.size(); }

// Whether a UTF-16LE unit stored at `bytes` is the first half of a pair.
inline bool isHighSurrogate(const char* bytes) {
    auto high = static_cast<std::uint8_t>(bytes[1]);
    return high >= 0xD8 && high <= 0xDB;
}

}  // namespace velloran::workbook
