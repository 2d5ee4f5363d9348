#pragma once
// How the spreadsheet automation component is known in the registry hive.

namespace velloran::excel {

// The programmatic identifier the export creates the application by.
inline constexpr const char* kApplicationProgId = "Excel.Application";
// The class id of the application object that the component serves.
inline constexpr const char* kApplicationClassId = "{7D4E2B19-8A63-4F0C-B5D1-3C9A6E2F8B47}";
// File name of the component library (in the staged "lib" folder).
inline constexpr const char* kModuleFileName = "velloran-excel.so";

}  // namespace velloran::excel
