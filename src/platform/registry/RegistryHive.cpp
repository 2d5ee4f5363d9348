#include "registry/RegistryHive.h"

#include "files/AtomicFile.h"
#include "files/OpenFolder.h"
#include "files/Replaceable.h"
#include "registry/HiveLock.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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
        throw hiveFailure(std::string("注册表的") + (std::string(what) == "value" ? "值" : "名称") + "不能含换行符", "",
                          std::string("A registry ") + what + " cannot hold a line break");
}

bool isFolderOrDevice(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

// The bytes of the file `name` in `folder`, opened without following a
// link; nothing when there is no such file. `shown` names it in messages.
std::optional<std::string> readInFolder(const OpenFolder& folder, const std::string& name, const std::string& shown) {
    // Not blocking: a pipe planted in the hive's place must not hang the open.
    const int fd = ::openat(folder.descriptor(), name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) return std::nullopt;
    if (fd < 0 && errno == ELOOP)
        throw hiveFailure("注册表文件 " + shown + " 是符号链接，不会通过链接写入", shown,
                          "The registry file " + shown + " is a symbolic link; nothing is written through a link");
    if (fd < 0) {
        const int error = errno;
        throw hiveFailure("无法读取注册表文件 " + shown, shown,
                          "Cannot read the registry file " + shown + ": " + std::strerror(error), error);
    }
    struct stat info {};
    std::string text;
    bool readable = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    char chunk[65536];
    for (ssize_t got = 0; readable && (got = ::read(fd, chunk, sizeof chunk)) != 0;) {
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) readable = false;
        else text.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (!readable)
        throw hiveFailure("无法读取注册表文件 " + shown + "：它不是可读的文件", shown,
                          "Cannot read the registry file " + shown + ": it is not a file that can be read");
    return text;
}

OpenFolder openFolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    try {
        return OpenFolder::open(folder);
    } catch (const Failure& e) {
        if (!e.is(Failure::Kind::Folder)) throw;
        throw e.retold(Failure::Kind::Registry, "无法更新注册表文件 " + path + "：" + e.what(), path);
    }
}

}  // namespace

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

struct RegistryHive::ReadState {
    bool sawHeader = false;
    bool sawKeyLine = false;
    Key* current = nullptr;  // null before the first key and under a key line that cannot be read
};

RegistryHive RegistryHive::read(const std::string& path) {
    RegistryHive hive;
    hive.path_ = path;
    if (isFolderOrDevice(path))
        throw hiveFailure("无法读取注册表文件 " + path + "：它不是文件", path,
                          "Cannot read the registry file " + path + ": it is not a file");
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (::access(path.c_str(), F_OK) != 0) return hive;  // no file yet: empty hive
        throw hiveFailure("无法读取注册表文件 " + path, path, "Cannot read the registry file " + path);
    }
    std::stringstream text;
    text << in.rdbuf();
    return parsed(path, text.str());
}

RegistryHive RegistryHive::parsed(const std::string& path, const std::string& text) {
    RegistryHive hive;
    hive.path_ = path;
    hive.parse(text);
    return hive;
}

void RegistryHive::requireUndamaged() const {
    if (damage_.empty()) return;
    const HiveDamage& first = damage_.front();
    throw hiveFailure("注册表文件 " + path_ + " 已损坏（第 " + std::to_string(first.line) + " 行）", path_,
                      "The registry file " + path_ + " is damaged: line " + std::to_string(first.line) + ": " +
                          first.reason,
                      0, true);
}

RegistryHive RegistryHive::load(const std::string& path) {
    RegistryHive hive = read(path);
    hive.requireUndamaged();
    return hive;
}

void RegistryHive::update(const OpenFolder& folder, const std::string& fileName,
                          const std::function<void(RegistryHive&)>& change, const std::function<void()>& waiting) {
    const HiveLock lock(folder, fileName, waiting);
    const std::string shown = folder.pathOf(fileName);
    const std::optional<std::string> text = readInFolder(folder, fileName, shown);
    RegistryHive hive = text ? parsed(shown, *text) : RegistryHive();
    hive.path_ = shown;
    hive.requireUndamaged();
    change(hive);
    try {
        // Through the folder's descriptor: no name above the hive is looked up again.
        writeFileAtomically(folder.throughDescriptor(fileName), hive.toText());
    } catch (const std::exception& e) {
        throw Failure(Failure::Kind::Registry, "无法保存注册表文件 " + shown,
                      {shown, "Cannot save the registry file " + shown + ": " + originalOf(e), errorOf(e)});
    }
}

void RegistryHive::update(const std::string& path, const std::function<void(RegistryHive&)>& change,
                          const std::function<void()>& waiting) {
    const std::string target = linkTarget(path);
    update(openFolderOf(target), target.substr(target.find_last_of('/') + 1), change, waiting);
}

RegistryHive RegistryHive::loadReadable(const std::string& path) { return read(path); }

void RegistryHive::parse(const std::string& text) {
    text_ = HiveText::split(text);
    ReadState state;
    for (HiveText::Entry& entry : text_.entries())
        if (std::optional<std::string> why = readEntry(entry, state))
            damage_.push_back({entry.firstLine, entry.content, *why});
    if (!state.sawHeader && !text_.entries().empty())
        damage_.push_back({text_.entries().back().firstLine, {}, "the file does not start with REGEDIT4"});
}

std::optional<std::string> RegistryHive::readEntry(HiveText::Entry& entry, ReadState& state) {
    const std::string& line = entry.content;
    if (line.empty() || line[0] == ';') return std::nullopt;
    std::optional<std::string> missingHeader;
    if (!state.sawHeader) {
        state.sawHeader = true;
        if (line == "REGEDIT4" || line == "Windows Registry Editor Version 5.00") return std::nullopt;
        // Without its first line the file is still read: a key line here counts.
        missingHeader = "the file does not start with REGEDIT4";
        if (line[0] != '[') return missingHeader;
    }
    if (line[0] == '[') {
        state.sawKeyLine = true;
        state.current = nullptr;
        if (line.back() != ']' || line.size() < 3) return "a key name must stand between [ and ]";
        state.current = &addKey(line.substr(1, line.size() - 2));
        entry.key = folded(state.current->spelling);
        return missingHeader;
    }
    if (!state.current)
        return state.sawKeyLine ? "the value stands under a key line that cannot be read"
                                : "a value stands before any key";
    std::string name;
    std::size_t pos = 0;
    if (line[0] == '@') {
        pos = 1;
    } else if (line[0] == '"') {
        if (!readQuoted(line, pos, name)) return "a value name has no closing quote";
    } else {
        return "expected [key], \"name\"=value or @=value";
    }
    if (pos >= line.size() || line[pos] != '=') return "expected = after the value name";
    std::optional<RegistryValue> data = parseData(line.substr(pos + 1));
    if (!data) return "the value of '" + name + "' is not a string, dword or hex value";
    storeValue(*state.current, name, *data);
    entry.key = folded(state.current->spelling);
    entry.valueName = folded(name);
    return std::nullopt;
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
    if (v->kind != RegistryValue::Kind::String)
        throw hiveFailure("注册表值“" + name + "”的类型不对", path_, "Invalid data type for '" + name + "'");
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

RegistryHive::Key& RegistryHive::addKey(const std::string& keyPath) {
    std::vector<std::string> parts = splitKeyPath(canonical(keyPath));
    std::string path;
    Key* key = nullptr;
    for (const std::string& part : parts) {
        path += (path.empty() ? "" : "\\") + part;
        key = &keys_.try_emplace(folded(path), Key{path, {}}).first->second;
    }
    return *key;
}

void RegistryHive::storeValue(Key& key, const std::string& name, const RegistryValue& value) {
    std::string wanted = folded(name);
    for (auto& [valueName, stored] : key.values) {
        if (folded(valueName) == wanted) {
            stored = value;
            return;
        }
    }
    key.values.emplace_back(name, value);
}

void RegistryHive::createKey(const std::string& keyPath) {
    requireOneLine(keyPath, "key name");
    const Key& key = addKey(keyPath);
    text_.addKeyHeader(folded(key.spelling), key.spelling);
}

void RegistryHive::setValue(const std::string& keyPath, const std::string& name, const RegistryValue& value) {
    requireOneLine(keyPath, "key name");
    requireOneLine(name, "value name");
    if (value.kind == RegistryValue::Kind::String) requireOneLine(value.text, "value");
    Key& key = addKey(keyPath);
    storeValue(key, name, value);
    text_.setValueLine(folded(key.spelling), key.spelling, folded(name),
                       (name.empty() ? std::string("@") : quoted(name)) + "=" + formatValue(value));
}

std::string RegistryHive::toText() const { return text_.bytes(); }

bool RegistryHive::writable() const { return canReplaceFile(linkTarget(path_)); }

void RegistryHive::save() const {
    try {
        writeFileAtomically(linkTarget(path_), toText());
    } catch (const std::exception& e) {
        throw Failure(Failure::Kind::Registry, "无法保存注册表文件 " + path_, {path_, originalOf(e), errorOf(e)});
    }
}

void RegistryHive::saveAs(const std::string& path) {
    path_ = path;
    save();
}

}  // namespace velloran::platform
