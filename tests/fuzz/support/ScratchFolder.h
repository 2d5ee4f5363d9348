#pragma once
// One private folder per fuzzing process for the files a target has to
// write (a hive to load, a database to open), removed when the process
// ends. Set TMPDIR to a memory file system to keep the disk out of the loop.
#include <string>

namespace velloran::fuzz {

// Full path of `name` inside the folder; the folder is made on first use.
std::string scratchPath(const std::string& name);

// Replaces the file with exactly these bytes.
void writeScratchFile(const std::string& path, const std::string& bytes);

// Removes the file and what SQLite may have left beside it.
void removeDatabaseFiles(const std::string& path);

}  // namespace velloran::fuzz
