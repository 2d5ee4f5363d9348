#pragma once
// Opens a database file read-only the way the browser does and reads what
// the browser and the export read: every view, a bounded number of each
// view's documents, and their items, rich text and attachments.
#include <string>

namespace velloran::fuzz {

enum class Damage {
    Tolerated,  // a damaged file: a step that fails with the engine's error is skipped
    Fault,      // a file our own tools wrote: any failure escapes to the caller
};

void walkDatabase(const std::string& path, Damage damage);

}  // namespace velloran::fuzz
