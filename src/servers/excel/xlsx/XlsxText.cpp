#include "XlsxText.h"

#include <cstdio>
#include <vector>

namespace velloran::workbook::xlsx {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Whether `text` holds an escape sequence "_xHHHH_" at `at`.
bool escapeAt(std::string_view text, std::size_t at) {
    if (text.size() - at < 7 || text[at] != '_' || text[at + 1] != 'x' || text[at + 6] != '_') return false;
    for (std::size_t i = at + 2; i < at + 6; ++i)
        if (!isHex(text[i])) return false;
    return true;
}

void appendEscape(std::string& out, unsigned code) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "_x%04X_", code);
    out.append(escaped, 7);
}

// Whether the UTF-8 sequence of U+FFFE or U+FFFF starts at `at`.
bool isNonCharacterAt(std::string_view text, std::size_t at) {
    return text.size() - at >= 3 && text[at] == '\xEF' && text[at + 1] == '\xBF' &&
           (text[at + 2] == '\xBE' || text[at + 2] == '\xBF');
}

enum class LineEnds { Escaped, AsTheyAre };

// Ordinary bytes are copied a run at a time: most texts have none of the
// others.
void escapeAll(std::string_view utf8, std::string& out, LineEnds lineEnds) {
    out.clear();
    auto special = [](unsigned char c) { return (c < 0x20 && c != '\t' && c != '\n') || c == '_' || c == 0xEF; };
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t run = at;
        while (run < utf8.size() && !special(static_cast<unsigned char>(utf8[run]))) ++run;
        out.append(utf8.data() + at, run - at);
        if (run == utf8.size()) break;
        at = run;
        auto c = static_cast<unsigned char>(utf8[at]);
        if (c == '\r' && lineEnds == LineEnds::AsTheyAre && at + 1 < utf8.size() && utf8[at + 1] == '\n') {
            out.push_back('\r');
        } else if (c < 0x20) {
            appendEscape(out, c);
        } else if (c == '_' && escapeAt(utf8, at)) {
            appendEscape(out, '_');
        } else if (c == 0xEF && isNonCharacterAt(utf8, at)) {
            appendEscape(out, utf8[at + 2] == '\xBE' ? 0xFFFE : 0xFFFF);
            at += 2;
        } else {
            out.push_back(utf8[at]);
        }
        ++at;
    }
}

bool isContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool fits(const std::string& escaped) {
    if (escaped.size() <= kMaxWrittenCharacters) return true;
    std::size_t characters = 0;
    for (char c : escaped) characters += isContinuation(c) ? 0 : 1;
    return characters <= kMaxWrittenCharacters;
}

// A start of `utf8`, cut between characters, whose escaped form fits, found
// by halving: the longest, but for a character or two where the cut would
// part a CR from its LF.
void escapeLongestStart(std::string_view utf8, std::string& out) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < utf8.size(); ++i)
        if (!isContinuation(utf8[i])) starts.push_back(i);
    std::size_t fitting = 0, tooLong = starts.size();  // the whole text is too long
    while (tooLong - fitting > 1) {
        const std::size_t middle = fitting + (tooLong - fitting) / 2;
        escapeAll(utf8.substr(0, starts[middle]), out, LineEnds::AsTheyAre);
        (fits(out) ? fitting : tooLong) = middle;
    }
    escapeAll(utf8.substr(0, starts[fitting]), out, LineEnds::AsTheyAre);
}

}  // namespace

void escapeText(std::string_view utf8, std::string& out) {
    escapeAll(utf8, out, LineEnds::Escaped);
    if (fits(out)) return;
    escapeAll(utf8, out, LineEnds::AsTheyAre);
    if (fits(out)) return;
    escapeLongestStart(utf8, out);
}

}  // namespace velloran::workbook::xlsx
