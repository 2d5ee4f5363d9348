#include "demo/DemoInstallation.h"

#include "common/ToolError.h"
#include "component/ComponentRuntime.h"
#include "demo/DemoDatabases.h"
#include "registry/RegistryHive.h"

#include <filesystem>
#include <fstream>

namespace velloran::tools {

namespace {

namespace fs = std::filesystem;

// Empties the folder, or refuses when it holds something this tool did not make.
void prepareFolder(const fs::path& folder) {
    if (fs::exists(folder) && !fs::is_directory(folder))
        throw toolFailure(folder.string() + " 已存在，但不是目录");
    if (fs::exists(folder) && !fs::is_empty(folder)) {
        if (!fs::exists(folder / kDemoMarker))
            throw toolFailure("目录 " + folder.string() + " 不是空的，也不是演示安装；请选择一个空目录或新目录");
        for (const fs::directory_entry& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
    }
    fs::create_directories(folder);
}

fs::path copyComponent(const std::string& file, const fs::path& folder, const std::string& name) {
    if (!fs::is_regular_file(file)) throw toolFailure("组件文件 " + file + " 不存在");
    fs::create_directories(folder);
    fs::path target = folder / name;
    fs::copy_file(file, target, fs::copy_options::overwrite_existing);
    return target;
}

void writeHive(const fs::path& out, const fs::path& hivePath) {
    platform::RegistryHive hive;
    const std::string notesKey = "HKEY_LOCAL_MACHINE\\Software\\Lotus\\Notes";
    const std::string dominoKey = "HKEY_LOCAL_MACHINE\\Software\\Lotus\\Domino";
    hive.setString(notesKey, "Path", (out / "Notes").string());
    hive.setString(dominoKey, "Path", (out / "Domino").string());
    hive.setString(dominoKey, "DataPath", (out / "Domino" / "Data").string());
    hive.setString(dominoKey, "ServerName", kDemoServerName);
    hive.saveAs(hivePath.string());
}

}  // namespace

void makeDemo(const DemoOptions& options) {
    fs::path out = fs::absolute(options.outFolder).lexically_normal();
    prepareFolder(out);
    // Written first, so that a run that fails half-way can be redone.
    std::ofstream(out / kDemoMarker) << "Made by velloran-make-demo; the tool may replace this folder.\n";
    fs::create_directories(out / "Notes");
    fs::path dataFolder = out / "Domino" / "Data";
    fs::create_directories(dataFolder);
    fs::path hivePath = out / "registry.reg";
    writeHive(out, hivePath);
    platform::ComponentRuntime runtime(hivePath.string());
    runtime.registerServer(copyComponent(options.notesComponent, out / "Domino", "nlsxbe.dll").string());
    if (options.excelComponent) {
        fs::path excel = fs::path(*options.excelComponent);
        runtime.registerServer(copyComponent(excel.string(), out / "Excel", excel.filename().string()).string());
    }
    writeDemoDatabases(dataFolder.string());
}

}  // namespace velloran::tools
