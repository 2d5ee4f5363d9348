#include "formula/TextSearch.h"

#include <cstring>
#include <string>

namespace velloran::notes::formula {

// memmem takes time linear in both lengths, where std::string::find may
// take their product.
std::size_t findText(std::string_view text, std::string_view part) {
    if (part.empty()) return 0;
    const void* at = ::memmem(text.data(), text.size(), part.data(), part.size());
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : std::string::npos;
}

// The first occurrence in the reversed text is the last one in the text.
std::size_t findLastText(std::string_view text, std::string_view part) {
    if (part.size() > text.size()) return std::string::npos;
    std::string reversedText(text.rbegin(), text.rend()), reversedPart(part.rbegin(), part.rend());
    std::size_t at = findText(reversedText, reversedPart);
    return at == std::string::npos ? at : text.size() - at - part.size();
}

std::size_t characterStart(std::string_view text, std::size_t index) {
    std::size_t seen = 0;
    for (std::size_t at = 0; at < text.size(); ++at)
        if ((static_cast<unsigned char>(text[at]) & 0xc0) != 0x80 && seen++ == index) return at;
    return text.size();
}

}  // namespace velloran::notes::formula
