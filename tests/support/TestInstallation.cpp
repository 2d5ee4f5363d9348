#include "TestInstallation.h"

#include "component/ComponentRuntime.h"
#include "generate/Generator.h"
#include "nsfjson/JsonDatabase.h"
#include "people/Person.h"
#include "registry/RegistryHive.h"

#include <cstdlib>
#include <filesystem>

namespace velloran::testing {

TestInstallation::TestInstallation() : hivePath_(dir_.file("registry.reg")) {
    std::filesystem::create_directories(dataFolder());
    std::filesystem::create_directories(dir_.file("Notes"));
    const std::string module = programFolder() + "/nlsxbe.dll";
    std::filesystem::copy_file(VELLORAN_NOTES_MODULE, module);
    platform::RegistryHive hive;
    hive.setString("\\Software\\Lotus\\Domino", "Path", programFolder());
    hive.setString("\\Software\\Lotus\\Domino", "DataPath", dataFolder());
    hive.setString("\\Software\\Lotus\\Domino", "ServerName", kServerName);
    hive.setString("\\Software\\Lotus\\Notes", "Path", dir_.file("Notes"));
    hive.saveAs(hivePath_);
    platform::ComponentRuntime(hivePath_).registerServer(module);
    std::filesystem::create_directories(dir_.file("Excel"));
    const std::string spreadsheet = dir_.file("Excel/velloran-excel.so");
    std::filesystem::copy_file(VELLORAN_EXCEL_MODULE, spreadsheet);
    platform::ComponentRuntime(hivePath_).registerServer(spreadsheet);
    // The engine finds its installation through the machine's hive, as the
    // program does: point both at this one.
    ::setenv(platform::RegistryHive::kPathVariable, hivePath_.c_str(), 1);
    // What the program keeps for its user stays in the installation too.
    ::setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
}

std::string TestInstallation::buildDatabase(const std::string& relative, const nlohmann::json& description) const {
    const std::string path = dataFolder() + "/" + relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    tools::buildFromJson(description, dataFolder(), path);
    return path;
}

std::string TestInstallation::generateDatabase(const std::string& relative, int documents) const {
    const std::string path = dataFolder() + "/" + relative;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    tools::GenerateOptions options;
    options.documents = documents;
    options.items = 3;
    tools::generateDatabase(path, options);
    return path;
}

void TestInstallation::addPerson(const std::string& name, const std::string& password) const {
    tools::addPerson(dataFolder() + "/names.nsf", {name, {}, password}, true);
}

}  // namespace velloran::testing
