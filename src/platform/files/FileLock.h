#pragma once
#include <string>

namespace velloran::platform {

// Whether another program (or a database connection of this one) holds
// the file open for writing or locked: a file that does not exist is not
// locked; one that cannot be opened for reading, or carries a lock
// (advisory whole-file lock or any record lock), is.
bool isFileLocked(const std::string& path);

}  // namespace velloran::platform
