#pragma once
// A complete, deterministic demo installation in one folder: registry hive,
// program folders with the components, and a data folder of sample
// databases.
#include <optional>
#include <string>

namespace velloran::tools {

struct DemoOptions {
    std::string outFolder;
    std::string notesComponent;                // the built nlsxbe.dll
    std::optional<std::string> excelComponent; // the spreadsheet component, when built
};

inline constexpr const char* kDemoServerName = "VelloranDemo/Velloran";
inline constexpr const char* kDemoUserName = "Demo User/Velloran";
inline constexpr const char* kDemoShortName = "demo";
inline constexpr const char* kDemoPassword = "Velloran2024";
// Written into the folder so the tool knows it may wipe it next time.
inline constexpr const char* kDemoMarker = ".velloran-demo";

// Throws a tool Failure when the folder holds other things than an earlier demo.
void makeDemo(const DemoOptions& options);

}  // namespace velloran::tools
