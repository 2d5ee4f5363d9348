#pragma once
// The workbook's shared-string table: cell texts in the order first seen,
// already in the form the SST record stores it (a 3-byte header of character
// count and flags, then the characters). A text that was added recently is
// found again through a small cache and shared instead of stored twice, so
// repeated values cost nothing while a table of millions of different texts
// needs no index as large as itself. Memory is the encoded text plus four
// bytes per string.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::biff {

class SharedStrings {
public:
    // Longest cell text, in UTF-16 code units.
    static constexpr std::uint32_t kMaxUnits = 32767;
    // Size of the header in front of each entry's characters.
    static constexpr std::size_t kHeaderSize = 3;

    // Index of `utf8` in the table, added unless the cache knows it. Throws
    // WorkbookError for text that is not UTF-8, longer than kMaxUnits, or
    // does not fit.
    std::uint32_t add(std::string_view utf8);

    std::uint32_t size() const { return static_cast<std::uint32_t>(offsets_.size()); }
    // Entry `index` as stored: header then characters.
    std::string_view entry(std::uint32_t index) const;
    // Bytes held by all entries together.
    std::size_t storedBytes() const { return pool_.size(); }

private:
    static constexpr std::size_t kCacheSize = 16384;  // a power of two

    std::string pool_;
    std::vector<std::uint32_t> offsets_;
    struct Recent {
        std::uint32_t hash = 0;
        std::uint32_t index = 0;  // + 1; 0 when free
    };
    std::vector<Recent> recent_ = std::vector<Recent>(kCacheSize);  // by hash
};

// Reads the parts of a stored entry.
struct StoredString {
    std::uint32_t units;
    bool wide;
    std::string_view characters;
    static StoredString of(std::string_view entry);
};

}  // namespace velloran::biff
