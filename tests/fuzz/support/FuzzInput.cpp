#include "support/FuzzInput.h"

#include <algorithm>

namespace velloran::fuzz {

std::string asText(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

std::vector<std::string> fields(const std::uint8_t* data, std::size_t size, std::size_t count) {
    const std::string text = asText(data, size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (parts.size() + 1 < count) {
        const std::size_t nul = text.find('\0', start);
        if (nul == std::string::npos) break;
        parts.push_back(text.substr(start, nul - start));
        start = nul + 1;
    }
    parts.push_back(text.substr(std::min(start, text.size())));
    parts.resize(count);
    return parts;
}

}  // namespace velloran::fuzz
