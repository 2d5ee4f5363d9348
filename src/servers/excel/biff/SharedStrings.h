#pragma once
// The workbook's shared-string table: cell texts in the order first seen,
// laid out at once as the records that store them (see SstRecords). A text
// that was added recently is found again through a small cache and shared
// instead of stored twice, so repeated values cost nothing while a table of
// millions of different texts needs no index as large as itself. The table
// goes to a temporary file as it grows (see SstRecords) and the cache only
// finds texts still in memory: a text repeated after a long stretch of
// others is stored again, which the format allows. Memory stays the same
// however many texts are added.
#include "BiffText.h"
#include "SstRecords.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::biff {

class SharedStrings {
public:
    // Longest cell text, in UTF-16 code units.
    static constexpr std::uint32_t kMaxUnits = 32767;

    // Throws WorkbookError for text that add() would refuse as a cell text:
    // not UTF-8 or longer than kMaxUnits. Short ASCII texts pass at once.
    static void check(std::string_view utf8) {
        if (utf8.size() > kMaxUnits || !isAscii(utf8)) checkThoroughly(utf8);
    }

    // A text with the hash the cache knows it by.
    struct HashedText {
        std::string_view utf8;
        std::uint64_t hash = 0;
    };
    static HashedText hashed(std::string_view utf8);

    // Index of the text in the table, added unless the cache knows it.
    // Throws WorkbookError for text that is not UTF-8, longer than
    // kMaxUnits, or does not fit.
    std::uint32_t add(const HashedText& text);

    // Starts fetching the cache entry of `text` into the processor's cache,
    // for a caller that knows the texts it adds a few texts ahead: the cache
    // is too large to stay there while millions of texts stream past.
    void prefetch(const HashedText& text) const;

    std::uint32_t size() const { return records_.size(); }
    // Bytes held in memory.
    std::size_t heldBytes() const { return records_.heldBytes() + recent_.size() * sizeof(Recent) + buffer_.capacity(); }
    // Writes the table's records; `references` is the number of cells that
    // use it.
    void write(RecordStream& out, std::uint32_t references) const { records_.write(out, references); }

private:
    static void checkThoroughly(std::string_view utf8);

    static constexpr std::size_t kCacheSize = 16384;  // a power of two

    // `utf8` as the table stores it (in buffer_ unless it is ASCII).
    BiffCharacters encode(std::string_view utf8);

    SstRecords records_;
    std::string buffer_;
    struct Recent {
        std::uint32_t position = SstRecords::kSplit;  // where the string is stored, in one piece
        std::uint32_t hash = 0;
        std::uint32_t index = 0;
    };
    std::vector<Recent> recent_ = std::vector<Recent>(kCacheSize);  // by hash
};

}  // namespace velloran::biff
