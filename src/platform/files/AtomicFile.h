#pragma once
#include <string>
#include <string_view>

namespace velloran::platform {

// Writes `contents` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, so readers see either the old or the new file,
// never a half-written one. Throws std::runtime_error naming the file.
void writeFileAtomically(const std::string& path, std::string_view contents);

// Whether a file could be created or replaced at `path`: its folder is
// writable and, when the file exists, the file too.
bool canReplaceFile(const std::string& path);

}  // namespace velloran::platform
