#pragma once
// Hierarchical user names: "CN=Zhang San/OU=Sales/O=Velloran" (canonical),
// "Zhang San/Sales/Velloran" (abbreviated), "Zhang San" (common name).
#include <string>

namespace velloran::notes::access {

std::string abbreviatedName(const std::string& name);
std::string commonName(const std::string& name);
// Same person: equal abbreviated forms, letter case ignored.
bool sameName(const std::string& a, const std::string& b);

}  // namespace velloran::notes::access
