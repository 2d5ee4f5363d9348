#pragma once
// The engine floor of an export: a plain scan of every item row of a
// database through SQLite's C API, reading each column without decoding
// the values. No export reads its items faster than this.
#include <cstdint>
#include <string>

namespace velloran::bench {

struct ItemScan {
    std::int64_t rows = 0;
    // The bytes of the names and the encoded values read.
    std::int64_t bytes = 0;
};

// Throws when the file cannot be opened or holds no items table.
ItemScan scanItems(const std::string& databasePath);

}  // namespace velloran::bench
