#pragma once
// The file floors of an export: the bytes an export wrote, written again
// in the plainest way. The workbook's bytes in one write and synced to
// disk, as its save syncs them; the log's bytes in one write; the
// attachment files copied.
#include <cstdint>
#include <string>
#include <string_view>

namespace velloran::bench {

enum class Sync { No, Yes };

// The whole file; throws when it cannot be read.
std::string readFile(const std::string& path);

// The daily files "log*.txt" of `folder`, oldest first, one after the
// other. Throws when the folder holds no such file.
std::string logBytes(const std::string& folder);

// Creates `target`, never over an existing file, writes `bytes` with one
// call (more only when the system writes less) and closes it, syncing it
// to disk first when asked. Throws on any failure.
void writeInOneGo(const std::string& target, std::string_view bytes, Sync sync);

struct CopiedFiles {
    std::int64_t files = 0;
    std::int64_t bytes = 0;
};

// Copies every file under `source` to the same place under `target`,
// creating the folders on the way. Throws on any failure.
CopiedFiles copyFolder(const std::string& source, const std::string& target);

}  // namespace velloran::bench
