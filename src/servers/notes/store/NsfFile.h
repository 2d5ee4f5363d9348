#pragma once
// Opening database files: read-only for browsing, read-write for the data
// tools. Either way the file is checked to be one of ours first.
#include "store/Sqlite.h"

#include <memory>
#include <string>

namespace velloran::notes::store {

// Throws EngineError for a missing, empty, foreign, newer or damaged file.
std::unique_ptr<Connection> openForReading(const std::string& path);

// Opens an existing database for writing, or creates a new one when the
// file does not exist.
std::unique_ptr<Connection> openForWriting(const std::string& path);

}  // namespace velloran::notes::store
