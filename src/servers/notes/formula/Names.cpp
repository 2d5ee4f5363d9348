#include "formula/Names.h"

#include "text/Utf8.h"

#include <algorithm>
#include <array>

namespace velloran::notes::formula {

namespace {

std::vector<std::string_view> splitParts(std::string_view name) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t slash = name.find('/'); slash != std::string_view::npos; slash = name.find('/', start)) {
        parts.push_back(text::trimmed(name.substr(start, slash - start)));
        start = slash + 1;
    }
    parts.push_back(text::trimmed(name.substr(start)));
    return parts;
}

// "OU=Sales" gives "ou" and "Sales"; a part without "=" has no label.
std::pair<std::string, std::string_view> labelled(std::string_view part) {
    std::size_t equals = part.find('=');
    if (equals == std::string_view::npos) return {std::string(), part};
    return {text::lower(text::trimmed(part.substr(0, equals))), text::trimmed(part.substr(equals + 1))};
}

void readCanonical(const std::vector<std::string_view>& parts, NameParts& name) {
    for (std::string_view part : parts) {
        auto [label, value] = labelled(part);
        if (label == "cn") name.commonName = value;
        else if (label == "ou") name.units.emplace_back(value);
        else if (label == "o") name.organisation = value;
        else if (label == "c") name.country = value;
    }
}

void readAbbreviated(std::vector<std::string_view> parts, NameParts& name) {
    name.commonName = parts.front();
    if (parts.size() >= 3 && parts.back().size() == 2) {
        name.country = parts.back();
        parts.pop_back();
    }
    if (parts.size() >= 2) name.organisation = parts.back();
    for (std::size_t i = 1; i + 1 < parts.size(); ++i) name.units.emplace_back(parts[i]);
}

// The components after the common name, from the name's own order.
std::vector<std::pair<const char*, std::string>> hierarchy(const NameParts& name) {
    std::vector<std::pair<const char*, std::string>> out;
    for (const std::string& unit : name.units) out.emplace_back("OU", unit);
    if (!name.organisation.empty()) out.emplace_back("O", name.organisation);
    if (!name.country.empty()) out.emplace_back("C", name.country);
    return out;
}

std::string joined(const NameParts& name, bool withCommonName, bool labels) {
    std::string out = withCommonName ? (labels ? "CN=" : "") + name.commonName : std::string();
    for (const auto& [label, value] : hierarchy(name)) {
        if (!out.empty()) out += '/';
        out += (labels ? std::string(label) + "=" : std::string()) + value;
    }
    return out;
}

std::string keywordOf(const NameParts& name) {
    auto parts = hierarchy(name);
    std::string out;
    for (auto it = parts.rbegin(); it != parts.rend(); ++it) out += (out.empty() ? "" : "\\") + it->second;
    return out;
}

std::string unit(const NameParts& name, std::size_t index) {
    return index < name.units.size() ? name.units[index] : std::string();
}

constexpr std::array<std::string_view, 11> kKeywords = {"cn",  "abbreviate", "canonicalize",  "o",        "c", "ou1",
                                                        "ou2", "ou3",        "ou4", "hierarchyonly", "tokeyword"};

}  // namespace

NameParts parseName(std::string_view whole) {
    NameParts name;
    std::vector<std::string_view> parts = splitParts(whole);
    name.canonical = labelled(parts.front()).first == "cn";
    name.hierarchical = parts.size() > 1 || name.canonical;
    if (!name.hierarchical) name.commonName = text::trimmed(whole);
    else if (name.canonical) readCanonical(parts, name);
    else readAbbreviated(std::move(parts), name);
    return name;
}

bool isNameKeyword(std::string_view keyword) {
    return std::find(kKeywords.begin(), kKeywords.end(), keyword) != kKeywords.end();
}

std::string applyNameKeyword(std::string_view keyword, std::string_view whole) {
    NameParts name = parseName(whole);
    if (keyword == "cn") return name.commonName;
    if (!name.hierarchical) {
        bool itself = keyword == "abbreviate" || keyword == "canonicalize" || keyword == "tokeyword";
        return itself ? std::string(whole) : std::string();
    }
    if (keyword == "abbreviate") return joined(name, true, false);
    if (keyword == "canonicalize") return joined(name, true, true);
    if (keyword == "hierarchyonly") return joined(name, false, name.canonical);
    if (keyword == "tokeyword") return keywordOf(name);
    if (keyword == "o") return name.organisation;
    if (keyword == "c") return name.country;
    return unit(name, static_cast<std::size_t>(keyword.back() - '1'));  // ou1 to ou4
}

}  // namespace velloran::notes::formula
