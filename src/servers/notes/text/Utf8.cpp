#include "text/Utf8.h"

#include <algorithm>

namespace velloran::notes::text {

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xf0) return 4;
    if (lead >= 0xe0) return 3;
    if (lead >= 0xc0) return 2;
    return 1;
}

std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t length = std::min(sequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
        out.push_back(text.substr(at, length));
        at += length;
    }
    return out;
}

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xc0) != 0x80; }));
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = lowerAscii(c);
    return out;
}

// Byte by byte, without a folded copy: bytes of multi-byte UTF-8 sequences
// are never ASCII letters, so folding ASCII bytes alone leaves them exact.
// From the end: names that differ mostly differ there (Field1, Field2...).
bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i] && lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::string_view trimmed(std::string_view text) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace velloran::notes::text
