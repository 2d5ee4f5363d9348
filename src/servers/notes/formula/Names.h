#pragma once
// Hierarchical user names, as @Name reads and writes them. A name is flat
// ("John Smith", "john@example.com"), canonical ("CN=John Smith/OU=Sales/
// O=Acme/C=US") or abbreviated ("John Smith/Sales/Acme/US"). An abbreviated
// name reads as common name, organisational units, organisation and, when
// it has three parts or more and the last has two letters, a country.
#include <string>
#include <string_view>
#include <vector>

namespace velloran::notes::formula {

struct NameParts {
    bool hierarchical = false;
    bool canonical = false;         // written with "CN=", "OU=" ... labels
    std::string commonName;         // the whole name when flat
    std::vector<std::string> units;  // OU1 first: the unit next to the common name
    std::string organisation;
    std::string country;
};

NameParts parseName(std::string_view name);

// The keywords @Name takes, lower case: "cn", "abbreviate", "canonicalize",
// "o", "c", "ou1" to "ou4", "hierarchyonly", "tokeyword".
bool isNameKeyword(std::string_view keyword);
// `name` transformed as `keyword` asks; a flat name is its own common name,
// abbreviation, canonical form and keyword, and has no other components.
std::string applyNameKeyword(std::string_view keyword, std::string_view name);

}  // namespace velloran::notes::formula
