// The JSON database builder. The input is a database description: it is
// refused with an error, or it builds a database that then opens and reads
// without any failure.
#include "nsfjson/JsonDatabase.h"
#include "support/Check.h"
#include "support/DatabaseWalk.h"
#include "support/ScratchFolder.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

namespace fuzz = velloran::fuzz;
using nlohmann::json;

// Generated attachments larger than this only cost time.
constexpr double kMaxGeneratedBytes = 1 << 20;

// Descriptions the target leaves alone: attachments read from files would
// read whatever the machine holds, and big generated ones cost time without
// reaching more code. A size too large for any file still goes through, as
// the builder must refuse it.
bool worthBuilding(const json& description) {
    std::vector<const json*> pending{&description};
    while (!pending.empty()) {
        const json& value = *pending.back();
        pending.pop_back();
        if (value.is_object()) {
            if (value.contains("file")) return false;
            auto size = value.find("size");
            if (size != value.end() && size->is_number() && size->get<double>() > kMaxGeneratedBytes &&
                size->get<double>() < 9.2e18)
                return false;
        }
        if (value.is_structured())
            for (const json& child : value) pending.push_back(&child);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const json description = json::parse(data, data + size, nullptr, false);
    if (description.is_discarded() || !worthBuilding(description)) return 0;
    const std::string path = fuzz::scratchPath("built.nsf");
    const std::string files = fuzz::scratchPath("files");
    std::filesystem::create_directories(files);
    fuzz::removeDatabaseFiles(path);
    try {
        velloran::tools::buildFromJson(description, files, path);
    } catch (const std::exception&) {
        return 0;  // refused, with the JSON path at fault
    }
    try {
        fuzz::walkDatabase(path, fuzz::Damage::Fault);
    } catch (const std::exception& e) {
        fuzz::brokenProperty(std::string("a database the builder wrote reads back: ") + e.what());
    }
    return 0;
}
