// The registry hive parser. Any file either loads or is refused with
// HiveError; a hive that loads reads without failing, and the text it would
// save loads back into the same hive.
#include "registry/RegistryHive.h"
#include "support/Check.h"
#include "support/FuzzInput.h"
#include "support/ScratchFolder.h"

#include <cstdint>
#include <deque>

namespace {

using velloran::platform::HiveError;
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
    std::deque<std::string> pending{"HKEY_LOCAL_MACHINE"};
    for (std::size_t walked = 0; !pending.empty() && walked < kMaxKeysWalked; ++walked) {
        const std::string key = pending.front();
        pending.pop_front();
        fuzz::require(hive.hasKey(key), "a listed sub-key exists");
        try {
            hive.readString(key, "");
        } catch (const HiveError&) {
            // a default value that is not text: refused, as it should be
        }
        for (const std::string& sub : hive.subKeys(key)) pending.push_back(key + "\\" + sub);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegistryHive hive;
    try {
        hive = loadText(fuzz::asText(data, size));
    } catch (const HiveError&) {
        return 0;
    }
    walkKeys(hive);
    const std::string saved = hive.toText();
    RegistryHive reloaded;
    try {
        reloaded = loadText(saved);
    } catch (const HiveError& e) {
        fuzz::brokenProperty(std::string("the text a hive saves loads back: ") + e.what());
    }
    fuzz::require(reloaded.toText() == saved, "a saved hive loads back unchanged");
    return 0;
}
