#pragma once
// The hidden temporary files this program writes before renaming them into
// place: ".velloran-" and six letters or digits. The process writing one
// holds an advisory lock (flock) on it from its creation until it is renamed
// or removed, so a file of that name whose lock can be taken was left by a
// process that ended before it was done, and can be removed.
#include "files/FileCalls.h"

#include <string>
#include <string_view>
#include <vector>

namespace velloran::platform {

// Whether `name` (no folder) is one of these temporary files' names.
bool isTemporaryName(std::string_view name);

struct TemporaryFile {
    int fd = -1;    // open for writing
    int lock = -1;  // keeps the lock until closed, when `fd` is closed before
    std::string path;
};

// Creates a new temporary file in `folderPrefix` (empty, or a folder ending
// in "/") with `mode` through `calls`, never over an existing name, and
// locks it. On failure `fd` is -1, nothing is left behind and errno tells why.
TemporaryFile createTemporaryFile(const FileCalls& calls, const std::string& folderPrefix, mode_t mode);

// Removes from the folder open as `folder` every regular file named as a
// temporary file that no process holds locked, never following a link and
// leaving every other name alone, and then the side files of databases
// built under such names ("-journal", "-wal", "-shm") whose database is
// gone. Returns what it could not remove or check, one message each, for
// the caller to report.
std::vector<std::string> removeLeftoverTemporaries(int folder);

}  // namespace velloran::platform
