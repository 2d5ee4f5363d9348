// The registry hive parser and writer. The input is a hive file, then a
// key, a value name and a text value, each after a NUL byte. Any file
// either loads or is refused with Failure; a hive that loads reads
// without failing; the value is set or refused with Failure; and the
// text the hive would then save loads back into the same hive.
#include "registry/RegistryHive.h"
#include "support/Check.h"
#include "support/FuzzInput.h"
#include "support/ScratchFolder.h"

#include <cstdint>
#include <deque>

namespace {

using velloran::platform::Failure;
using velloran::platform::RegistryHive;
namespace fuzz = velloran::fuzz;

constexpr std::size_t kMaxKeysWalked = 256;

RegistryHive loadText(const std::string& text) {
    const std::string path = fuzz::scratchPath("hive.reg");
    fuzz::writeScratchFile(path, text);
    return RegistryHive::load(path);
}

// Reads every key reachable from the machine root, breadth first.
void walkKeys(const RegistryHive& hive) {
    const std::string root = "HKEY_LOCAL_MACHINE";
    std::deque<std::string> pending;
    for (const std::string& sub : hive.subKeys(root)) pending.push_back(root + "\\" + sub);
    for (std::size_t walked = 0; !pending.empty() && walked < kMaxKeysWalked; ++walked) {
        const std::string key = pending.front();
        pending.pop_front();
        fuzz::require(hive.hasKey(key), "a listed sub-key exists");
        try {
            hive.readString(key, "");
        } catch (const Failure&) {
            // a default value that is not text: refused, as it should be
        }
        for (const std::string& sub : hive.subKeys(key)) pending.push_back(key + "\\" + sub);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> parts = fuzz::fields(data, size, 4);
    RegistryHive hive;
    try {
        hive = loadText(parts[0]);
    } catch (const Failure&) {
        return 0;
    }
    walkKeys(hive);
    try {
        hive.setString(parts[1], parts[2], parts[3]);
        fuzz::require(hive.readString(parts[1], parts[2]) == parts[3], "a value set reads back");
    } catch (const Failure&) {
        // a name or value that cannot stand on one line of the file
    }
    const std::string saved = hive.toText();
    RegistryHive reloaded;
    try {
        reloaded = loadText(saved);
    } catch (const Failure& e) {
        fuzz::brokenProperty(std::string("the text a hive saves loads back: ") + e.what());
    }
    fuzz::require(reloaded.toText() == saved, "a saved hive loads back unchanged");
    return 0;
}
