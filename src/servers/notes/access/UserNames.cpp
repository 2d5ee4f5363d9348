#include "access/UserNames.h"

#include "text/Utf8.h"

#include <array>
#include <string_view>

namespace velloran::notes::access {

namespace {

std::string_view withoutLabel(std::string_view part) {
    static constexpr std::array<std::string_view, 4> kLabels = {"CN=", "OU=", "O=", "C="};
    for (std::string_view label : kLabels)
        if (part.size() >= label.size() && text::equalsIgnoringCase(part.substr(0, label.size()), label))
            return part.substr(label.size());
    return part;
}

}  // namespace

std::string abbreviatedName(const std::string& name) {
    std::string out;
    std::string_view rest = text::trimmed(name);
    while (true) {
        std::size_t slash = rest.find('/');
        out += withoutLabel(text::trimmed(rest.substr(0, slash)));
        if (slash == std::string_view::npos) return out;
        out += '/';
        rest = rest.substr(slash + 1);
    }
}

std::string commonName(const std::string& name) {
    std::string abbreviated = abbreviatedName(name);
    return abbreviated.substr(0, abbreviated.find('/'));
}

bool sameName(const std::string& a, const std::string& b) {
    return text::equalsIgnoringCase(abbreviatedName(a), abbreviatedName(b));
}

}  // namespace velloran::notes::access
