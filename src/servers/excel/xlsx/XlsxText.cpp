#include "XlsxText.h"

#include <cstdio>

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

}  // namespace

// Ordinary bytes are copied a run at a time: most texts have none of the
// others.
void escapeText(std::string_view utf8, std::string& out) {
    out.clear();
    auto special = [](unsigned char c) { return (c < 0x20 && c != '\t' && c != '\n') || c == '_' || c == 0xEF; };
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t run = at;
        while (run < utf8.size() && !special(static_cast<unsigned char>(utf8[run]))) ++run;
        out.append(utf8.data() + at, run - at);
        if (run == utf8.size()) break;
        at = run;
        auto c = static_cast<unsigned char>(utf8[at]);
        if (c < 0x20) {
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

}  // namespace velloran::workbook::xlsx
