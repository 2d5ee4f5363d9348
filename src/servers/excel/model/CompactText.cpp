#include "CompactText.h"

#include "WorkbookError.h"

#include <string>

namespace velloran::workbook {

namespace {

[[noreturn]] void throwInvalid(std::size_t at) {
    throw workbookFailure("The text is not valid UTF-8 (bad byte at position " + std::to_string(at + 1) + ")");
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

char32_t unitAt(const char* at) {
    return static_cast<unsigned char>(at[0]) | static_cast<char32_t>(static_cast<unsigned char>(at[1])) << 8;
}

// Texts are checked as UTF-8 before they are stored, so every unit decoded
// here is a character or half of a pair that stays together.
void appendCodePoint(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
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

CompactText compactCharacters(std::string_view utf8, std::string& buffer) {
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

void appendUtf8(std::string& out, const CompactText& text) {
    const std::string_view bytes = text.bytes;
    if (!text.encoding.wide && isAscii(bytes)) {
        out.append(bytes);
        return;
    }
    if (!text.encoding.wide) {
        for (char c : bytes) appendCodePoint(out, static_cast<unsigned char>(c));
        return;
    }
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        char32_t unit = unitAt(bytes.data() + at);
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < bytes.size()) {
            char32_t low = unitAt(bytes.data() + at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                at += 2;
                continue;
            }
        }
        appendCodePoint(out, unit);
    }
}

}  // namespace velloran::workbook
