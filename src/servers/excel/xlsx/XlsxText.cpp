#include "XlsxText.h"

#include <cstdio>

namespace velloran::workbook::xlsx {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Whether the UTF-8 sequence of U+FFFE or U+FFFF starts at `at`.
bool isNonCharacterAt(std::string_view text, std::size_t at) {
    return text.size() - at >= 3 && text[at] == '\xEF' && text[at + 1] == '\xBF' &&
           (text[at + 2] == '\xBE' || text[at + 2] == '\xBF');
}

// Control characters other than tab and line feed, which the sheet library
// escapes.
bool isEscapedControl(char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n'; }

// Whether what is written for the character at `at` starts with "_": an
// underscore itself, or an escape.
bool writtenWithUnderscoreAt(std::string_view text, std::size_t at) {
    return text[at] == '_' || isEscapedControl(text[at]) || isNonCharacterAt(text, at);
}

// Whether `text` at `at` would be written as an escape sequence "_xHHHH_":
// "_xHHHH" followed by anything written starting with "_".
bool escapeAt(std::string_view text, std::size_t at) {
    if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || !writtenWithUnderscoreAt(text, at + 6))
        return false;
    for (std::size_t i = at + 2; i < at + 6; ++i)
        if (!isHex(text[i])) return false;
    return true;
}

void appendEscape(std::string& out, unsigned code) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "_x%04X_", code);
    out.append(escaped, 7);
}

// The library escapes control characters itself (in the constant-memory
// mode the writer uses), after it has counted the text's characters, so
// they are left to it; what is escaped here is what it does not escape, and
// NUL, which would end the text it is given.
bool isSpecial(char c) { return c == '_' || c == '\xEF' || c == '\0'; }

// Appends the escaped form of the special byte at `at`; returns how many
// bytes of `utf8` it stood for.
std::size_t appendSpecial(std::string_view utf8, std::size_t at, std::string& out) {
    if (utf8[at] == '\0' || (utf8[at] == '_' && escapeAt(utf8, at))) {
        appendEscape(out, static_cast<unsigned char>(utf8[at]));
    } else if (isNonCharacterAt(utf8, at)) {
        appendEscape(out, utf8[at + 2] == '\xBE' ? 0xFFFE : 0xFFFF);
        return 3;
    } else {
        out.push_back(utf8[at]);
    }
    return 1;
}

// Ordinary bytes are copied a run at a time: most texts have none of the
// others.
void escapeAll(std::string_view utf8, std::string& out) {
    out.clear();
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t run = at;
        while (run < utf8.size() && !isSpecial(utf8[run])) ++run;
        out.append(utf8.data() + at, run - at);
        if (run == utf8.size()) break;
        at = run + appendSpecial(utf8, run, out);
    }
}

std::size_t charactersIn(std::string_view utf8) {
    std::size_t characters = 0;
    for (char c : utf8) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters;
}

// The escaped form of the longest start of `utf8` that fits, built a byte
// or an escape at a time; it ends before a character, never inside one.
void escapeFittingStart(std::string_view utf8, std::string& out) {
    out.clear();
    std::size_t characters = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t before = out.size();
        if (isSpecial(utf8[at])) {
            at += appendSpecial(utf8, at, out);
        } else {
            out.push_back(utf8[at++]);
        }
        characters += charactersIn(std::string_view(out).substr(before));
        if (characters > kMaxWrittenCharacters) {
            out.resize(before);
            return;
        }
    }
}

}  // namespace

void escapeText(std::string_view utf8, std::string& out) {
    escapeAll(utf8, out);
    if (out.size() <= kMaxWrittenCharacters || charactersIn(out) <= kMaxWrittenCharacters) return;
    escapeFittingStart(utf8, out);
}

}  // namespace velloran::workbook::xlsx
