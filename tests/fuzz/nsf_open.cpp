// Opening and walking a database file. The input is the whole file: it is
// either refused with the engine's error or opened read-only and read as
// the browser and the export read it, each damaged part failing with the
// engine's error, never a crash.
#include "store/EngineError.h"
#include "support/DatabaseWalk.h"
#include "support/FuzzInput.h"
#include "support/ScratchFolder.h"

#include <cstdint>

namespace fuzz = velloran::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::scratchPath("input.nsf");
    fuzz::removeDatabaseFiles(path);
    fuzz::writeScratchFile(path, fuzz::asText(data, size));
    try {
        fuzz::walkDatabase(path, fuzz::Damage::Tolerated);
    } catch (const velloran::platform::Failure&) {
        // refused as a whole: not a database, or damaged beyond opening
    }
    return 0;
}
