#include "registry/RegistryHive.h"

#include "files/AtomicFile.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace velloran::platform {

namespace {

constexpr const char* kMachineRoot = "HKEY_LOCAL_MACHINE";

std::vector<std::string> splitKeyPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

bool equalsFolded(const std::string& a, const char* b) {
    std::string lower;
    for (char c : a) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string other;
    for (const char* p = b; *p; ++p) other += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return lower == other;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string formatValue(const RegistryValue& v) {
    switch (v.kind) {
    case RegistryValue::Kind::String:
        return quoted(v.text);
    case RegistryValue::Kind::Dword: {
        char buf[20];
        std::snprintf(buf, sizeof buf, "dword:%08x", v.dword);
        return buf;
    }
    case RegistryValue::Kind::Binary: {
        std::string out = "hex:";
        char buf[4];
        for (std::size_t i = 0; i < v.bytes.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%02x", v.bytes[i]);
            if (i) out += ',';
            out += buf;
        }
        return out;
    }
    }
    return {};
}

// Reads a quoted string starting at text[pos] == '"'; leaves pos after the
// closing quote. Returns false when the closing quote is missing.
bool readQuoted(const std::string& text, std::size_t& pos, std::string& out) {
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '\\' && pos + 1 < text.size()) {
            out += text[++pos];
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

std::optional<RegistryValue> parseData(const std::string& data) {
    if (!data.empty() && data[0] == '"') {
        std::size_t pos = 0;
        std::string text;
        if (!readQuoted(data, pos, text) || pos != data.size()) return std::nullopt;
        return RegistryValue::string(text);
    }
    if (data.rfind("dword:", 0) == 0) {
        std::string digits = data.substr(6);
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        for (char c : digits)
            if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        return RegistryValue::number(static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16)));
    }
    std::size_t colon = data.find(':');
    if (data.rfind("hex", 0) == 0 && colon != std::string::npos) {
        RegistryValue v{RegistryValue::Kind::Binary, {}, 0, {}};
        std::stringstream bytes(data.substr(colon + 1));
        std::string byte;
        while (std::getline(bytes, byte, ',')) {
            while (!byte.empty() && std::isspace(static_cast<unsigned char>(byte.back()))) byte.pop_back();
            while (!byte.empty() && std::isspace(static_cast<unsigned char>(byte.front()))) byte.erase(0, 1);
            if (byte.size() != 2 || !std::isxdigit(static_cast<unsigned char>(byte[0])) ||
                !std::isxdigit(static_cast<unsigned char>(byte[1])))
                return std::nullopt;
            v.bytes.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
        }
        return v;
    }
    return std::nullopt;
}

// The file holds one key, name or value a line: a line break inside one
// would split it and leave a file that no longer loads.
void requireOneLine(const std::string& text, const char* what) {
    if (text.find_first_of("\r\n") != std::string::npos)
        throw HiveError(std::string("A registry ") + what + " cannot hold a line break");
}

bool isFolderOrDevice(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

}  // namespace

std::string RegistryHive::defaultPath() {
    const char* fromEnvironment = std::getenv(kPathVariable);
    return fromEnvironment && *fromEnvironment ? fromEnvironment : kDefaultPath;
}

std::string RegistryHive::folded(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string RegistryHive::canonical(const std::string& keyPath) {
    std::vector<std::string> parts = splitKeyPath(keyPath);
    std::string out;
    std::size_t first = 0;
    if (!parts.empty() && (equalsFolded(parts[0], "HKEY_LOCAL_MACHINE") || equalsFolded(parts[0], "HKLM"))) {
        out = kMachineRoot;
        first = 1;
    } else if (!parts.empty() && (equalsFolded(parts[0], "HKEY_CLASSES_ROOT") || equalsFolded(parts[0], "HKCR"))) {
        out = std::string(kMachineRoot) + "\\SOFTWARE\\Classes";
        first = 1;
    } else if (!parts.empty() && equalsFolded(parts[0].substr(0, 5), "HKEY_")) {
        out = parts[0];
        first = 1;
    } else {
        out = kMachineRoot;
    }
    for (std::size_t i = first; i < parts.size(); ++i) out += "\\" + parts[i];
    return out;
}

RegistryHive RegistryHive::load(const std::string& path) {
    RegistryHive hive;
    hive.path_ = path;
    if (isFolderOrDevice(path)) throw HiveError("Cannot read the registry file " + path + ": it is not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (::access(path.c_str(), F_OK) != 0) return hive;  // no file yet: empty hive
        throw HiveError("Cannot read the registry file " + path);
    }
    std::stringstream text;
    text << in.rdbuf();
    try {
        hive.parse(text.str());
    } catch (const HiveError& e) {
        throw HiveError("The registry file " + path + " is damaged: " + e.what());
    }
    return hive;
}

void RegistryHive::parse(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool sawHeader = false;
    Key* current = nullptr;
    auto fail = [&](const std::string& why) {
        throw HiveError("line " + std::to_string(number) + ": " + why);
    };
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        // A value continued over several lines ends each line but the last with "\".
        while (!line.empty() && line.back() == '\\' && line.find('=') != std::string::npos &&
               line.find("=hex") != std::string::npos) {
            std::string next;
            if (!std::getline(lines, next)) break;
            ++number;
            if (!next.empty() && next.back() == '\r') next.pop_back();
            line.pop_back();
            std::size_t start = next.find_first_not_of(" \t");
            line += start == std::string::npos ? "" : next.substr(start);
        }
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == ';') continue;
        line = line.substr(start);
        if (!sawHeader) {
            if (line != "REGEDIT4" && line != "Windows Registry Editor Version 5.00")
                fail("the file does not start with REGEDIT4");
            sawHeader = true;
            continue;
        }
        if (line[0] == '[') {
            if (line.back() != ']' || line.size() < 3) fail("a key name must stand between [ and ]");
            std::string keyPath = line.substr(1, line.size() - 2);
            createKey(keyPath);
            current = findKey(keyPath);
            continue;
        }
        if (!current) fail("a value stands before any key");
        std::string name;
        std::size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (line[0] == '"') {
            if (!readQuoted(line, pos, name)) fail("a value name has no closing quote");
        } else {
            fail("expected [key], \"name\"=value or @=value");
        }
        if (pos >= line.size() || line[pos] != '=') fail("expected = after the value name");
        std::optional<RegistryValue> data = parseData(line.substr(pos + 1));
        if (!data) fail("the value of '" + name + "' is not a string, dword or hex value");
        setValue(current->spelling, name, *data);
    }
    if (!sawHeader && number > 0) fail("the file does not start with REGEDIT4");
}

RegistryHive::Key* RegistryHive::findKey(const std::string& keyPath) {
    auto it = keys_.find(folded(canonical(keyPath)));
    return it == keys_.end() ? nullptr : &it->second;
}

const RegistryHive::Key* RegistryHive::findKey(const std::string& keyPath) const {
    auto it = keys_.find(folded(canonical(keyPath)));
    return it == keys_.end() ? nullptr : &it->second;
}

bool RegistryHive::hasKey(const std::string& keyPath) const { return findKey(keyPath) != nullptr; }

std::optional<RegistryValue> RegistryHive::value(const std::string& keyPath, const std::string& name) const {
    const Key* key = findKey(keyPath);
    if (!key) return std::nullopt;
    std::string wanted = folded(name);
    for (const auto& [valueName, value] : key->values)
        if (folded(valueName) == wanted) return value;
    return std::nullopt;
}

std::string RegistryHive::readString(const std::string& keyPath, const std::string& name) const {
    std::optional<RegistryValue> v = value(keyPath, name);
    if (!v) return {};
    if (v->kind != RegistryValue::Kind::String) throw HiveError("Invalid data type for '" + name + "'");
    return v->text;
}

std::vector<std::string> RegistryHive::subKeys(const std::string& keyPath) const {
    std::string prefix = folded(canonical(keyPath)) + "\\";
    std::vector<std::string> names;
    for (const auto& [foldedPath, key] : keys_) {
        if (foldedPath.rfind(prefix, 0) != 0) continue;
        std::string rest = key.spelling.substr(prefix.size());
        if (rest.find('\\') == std::string::npos) names.push_back(rest);
    }
    return names;
}

void RegistryHive::createKey(const std::string& keyPath) {
    requireOneLine(keyPath, "key name");
    std::vector<std::string> parts = splitKeyPath(canonical(keyPath));
    std::string path;
    for (const std::string& part : parts) {
        path += (path.empty() ? "" : "\\") + part;
        keys_.try_emplace(folded(path), Key{path, {}});
    }
}

void RegistryHive::setValue(const std::string& keyPath, const std::string& name, const RegistryValue& value) {
    requireOneLine(name, "value name");
    if (value.kind == RegistryValue::Kind::String) requireOneLine(value.text, "value");
    createKey(keyPath);
    Key* key = findKey(keyPath);
    std::string wanted = folded(name);
    for (auto& [valueName, stored] : key->values) {
        if (folded(valueName) == wanted) {
            stored = value;
            return;
        }
    }
    key->values.emplace_back(name, value);
}

std::string RegistryHive::toText() const {
    std::string out = "REGEDIT4\n";
    for (const auto& [foldedPath, key] : keys_) {
        out += "\n[" + key.spelling + "]\n";
        for (const auto& [name, value] : key.values)
            out += (name.empty() ? std::string("@") : quoted(name)) + "=" + formatValue(value) + "\n";
    }
    return out;
}

bool RegistryHive::writable() const { return canReplaceFile(path_); }

void RegistryHive::save() const {
    try {
        writeFileAtomically(path_, toText());
    } catch (const std::exception& e) {
        throw HiveError(e.what());
    }
}

void RegistryHive::saveAs(const std::string& path) {
    path_ = path;
    save();
}

}  // namespace velloran::platform
