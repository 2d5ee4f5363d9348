#pragma once
// The machine registry, kept in one REGEDIT4 text file (the "hive").
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Lotus\Domino]
//   "Path"="/opt/domino"
//   @="default value"
//   "Count"=dword:00000001
//
// Key paths are matched without regard to letter case. A path may start
// with a root name (HKEY_LOCAL_MACHINE, HKEY_CLASSES_ROOT, HKLM, HKCR) or
// with "\"; a path without a root is under HKEY_LOCAL_MACHINE, and
// HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE\SOFTWARE\Classes, as on the
// platform the registry comes from.
#include "errors/Failure.h"
#include "registry/HiveSearch.h"
#include "registry/HiveText.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velloran::platform {

class OpenFolder;

// A failure of the hive (Kind::Registry): `text` for the user, naming
// `file`; `original` the same in English, which says no more unless it
// holds the system's reason (`error`) or `saysMore`.
inline Failure hiveFailure(const std::string& text, const std::string& file, const std::string& original,
                           int error = 0, bool saysMore = false) {
    return Failure(Failure::Kind::Registry, text, {file, original, error, saysMore || error != 0});
}

struct RegistryValue {
    enum class Kind { String, Dword, Binary };
    Kind kind = Kind::String;
    std::string text;                 // String
    std::uint32_t dword = 0;          // Dword
    std::vector<std::uint8_t> bytes;  // Binary

    static RegistryValue string(std::string s) { return {Kind::String, std::move(s), 0, {}}; }
    static RegistryValue number(std::uint32_t v) { return {Kind::Dword, {}, v, {}}; }
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// A line of the hive file that cannot be read, and why.
struct HiveDamage {
    int line = 0;       // counted from 1
    std::string text;   // the line as it stands in the file
    std::string reason;
};

class RegistryHive {
public:
    // Environment variable that names another hive file.
    static constexpr const char* kPathVariable = kHivePathVariable;
    // The hive the program uses: the first file of the search order that
    // exists (see HiveSearch.h).
    static std::string defaultPath() { return findHive(); }

    // An empty hive not tied to a file yet.
    RegistryHive() = default;
    // Reads the file. A missing file is an empty hive; a file that cannot be
    // read or is not in the REGEDIT4 format throws a registry Failure naming the file
    // and line.
    static RegistryHive load(const std::string& path);
    // Reads the file as far as it can be read: a line that cannot be read is
    // skipped and listed in damage(), as are the values under a key line
    // that cannot be read. A file that cannot be read at all throws
    // a registry Failure.
    static RegistryHive loadReadable(const std::string& path);

    // Loads the hive `fileName` in `folder`, lets `change` change it and
    // saves it, under the hive's lock (see HiveLock.h) from before the load
    // to after the save: updates by several processes each start from the
    // one before, and none is lost. Neither the hive nor its lock file is
    // read or written through a symbolic link. When another process holds
    // the lock, `waiting` is called once before waiting for it. Throws
    // a registry Failure as load() and save() do, and when the lock cannot be taken;
    // what `change` throws goes through, and nothing is saved.
    static void update(const OpenFolder& folder, const std::string& fileName,
                       const std::function<void(RegistryHive&)>& change, const std::function<void()>& waiting = {});
    // The same for the hive at `path`; a symbolic link there is followed to
    // its target, which is locked and rewritten beside it, as save() does.
    static void update(const std::string& path, const std::function<void(RegistryHive&)>& change,
                       const std::function<void()>& waiting = {});

    // The lines loadReadable() skipped, in file order.
    const std::vector<HiveDamage>& damage() const { return damage_; }

    const std::string& path() const { return path_; }

    bool hasKey(const std::string& keyPath) const;
    // Value `name` of the key (empty name: the default value); nothing when
    // the key or the value is absent.
    std::optional<RegistryValue> value(const std::string& keyPath, const std::string& name) const;
    // A text value; absent reads as empty text, a value of another kind
    // throws a registry Failure "Invalid data type for '<name>'".
    std::string readString(const std::string& keyPath, const std::string& name) const;
    // Names of the key's direct sub-keys, as spelled when created.
    std::vector<std::string> subKeys(const std::string& keyPath) const;

    // Creates the key and its parents when missing; the file gains the key's
    // line, its parents stay implicit. Names and text values that hold a
    // line break are refused with a registry Failure.
    void createKey(const std::string& keyPath);
    // Creates the key when missing and sets the value. Saving then rewrites
    // the value's line, or adds it after the key's last value; every other
    // line of the file stays as it was read.
    void setValue(const std::string& keyPath, const std::string& name, const RegistryValue& value);
    void setString(const std::string& keyPath, const std::string& name, const std::string& text) {
        setValue(keyPath, name, RegistryValue::string(text));
    }

    // Whether save() can replace the file (its folder writable, and the file
    // itself when it exists; for a symbolic link, those of its target).
    bool writable() const;
    // Rewrites the whole file atomically (temporary file, then rename); a
    // symbolic link stays a link and its target is rewritten. Throws
    // a registry Failure when it cannot.
    void save() const;
    void saveAs(const std::string& path);

    std::string toText() const;

private:
    struct Key {
        std::string spelling;
        std::vector<std::pair<std::string, RegistryValue>> values;  // in file order
    };
    static std::string canonical(const std::string& keyPath);
    static std::string folded(const std::string& text);
    static RegistryHive read(const std::string& path);
    static RegistryHive parsed(const std::string& path, const std::string& text);
    // Throws a registry Failure naming the first line that cannot be read.
    void requireUndamaged() const;
    Key* findKey(const std::string& keyPath);
    const Key* findKey(const std::string& keyPath) const;
    void parse(const std::string& text);
    // Reads one line into the keys; returns why it cannot be read.
    struct ReadState;
    std::optional<std::string> readEntry(HiveText::Entry& entry, ReadState& state);
    // The key and its parents, in the keys only.
    Key& addKey(const std::string& keyPath);
    void storeValue(Key& key, const std::string& name, const RegistryValue& value);

    std::string path_;
    std::map<std::string, Key> keys_;  // by folded canonical path
    HiveText text_;
    std::vector<HiveDamage> damage_;
};

}  // namespace velloran::platform
