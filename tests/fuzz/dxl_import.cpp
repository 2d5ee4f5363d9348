// The XML import. The input is a database's XML export: it is refused with
// an error that leaves no database (nor a hidden build file) behind, or it
// becomes a database that then opens and reads without any failure.
#include "dxl/DxlImport.h"
#include "support/Check.h"
#include "support/DatabaseWalk.h"
#include "support/ScratchFolder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace fuzz = velloran::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path folder = fuzz::scratchPath("dxl");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::string xml = (folder / "export.xml").string();
    const std::string database = (folder / "imported.nsf").string();
    std::ofstream(xml, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    try {
        velloran::tools::dxl::importDxlFile(xml, database);
    } catch (const std::exception&) {
        // Refused: nothing but the input may be left in the folder.
        std::size_t files = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++files;
        fuzz::require(files == 1, "a refused import leaves no database behind");
        return 0;
    }
    try {
        fuzz::walkDatabase(database, fuzz::Damage::Fault);
    } catch (const std::exception& e) {
        fuzz::brokenProperty(std::string("a database the import wrote reads back: ") + e.what());
    }
    return 0;
}
