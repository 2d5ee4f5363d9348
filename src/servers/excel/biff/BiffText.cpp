#include "BiffText.h"

#include "WorkbookError.h"

#include <string>

namespace velloran::biff {

namespace {

[[noreturn]] void throwInvalid(std::size_t at) {
    throw WorkbookError("The text is not valid UTF-8 (bad byte at position " + std::to_string(at + 1) + ")");
}

// Decodes the code point starting at `at` and advances `at` past it. Rejects
// overlong forms, surrogates and values above U+10FFFF.
char32_t decodeAt(std::string_view text, std::size_t& at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    if (lead < 0x80) return text[at++];
    std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) throwInvalid(at);
    char32_t value = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) throwInvalid(at + i);
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) throwInvalid(at);
    at += length;
    return value;
}

void appendUnit(std::string& out, char16_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

EncodedText measureDecoded(std::string_view text) {
    EncodedText result;
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = decodeAt(text, at);
        result.units += c > 0xFFFF ? 2 : 1;
        result.wide = result.wide || c > 0xFF;
    }
    return result;
}

}  // namespace

EncodedText measureText(std::string_view utf8) {
    if (isAscii(utf8)) return {static_cast<std::uint32_t>(utf8.size()), false};
    return measureDecoded(utf8);
}

BiffCharacters biffCharacters(std::string_view utf8, std::string& buffer) {
    if (isAscii(utf8)) return {{static_cast<std::uint32_t>(utf8.size()), false}, utf8};
    EncodedText encoded = measureDecoded(utf8);
    buffer.clear();
    buffer.reserve(encoded.units * (encoded.wide ? 2 : 1));
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = decodeAt(utf8, at);
        if (!encoded.wide) {
            buffer.push_back(static_cast<char>(c));
        } else if (c > 0xFFFF) {
            appendUnit(buffer, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            appendUnit(buffer, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            appendUnit(buffer, static_cast<char16_t>(c));
        }
    }
    return {encoded, buffer};
}

}  // namespace velloran::biff
