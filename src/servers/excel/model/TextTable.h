#pragma once
// The workbook's texts: every cell text, in the order first seen, in the
// compact form (see CompactText) one after another in a spilled log, and
// found again by number. A text that was added recently is found through a
// small cache and shared instead of stored twice, so repeated values cost
// nothing while a table of millions of different texts needs no index as
// large as itself. The cache only finds texts still in memory: a text
// repeated after a long stretch of others is stored again. Memory stays
// the same however many texts are added.
#include "CompactText.h"
#include "SpilledLog.h"
#include "TextPlacement.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::workbook {

class TextTable {
public:
    // Longest cell text, in UTF-16 code units.
    static constexpr std::uint32_t kMaxUnits = 32767;
    // Most different texts a workbook holds (see Cell).
    static constexpr std::uint32_t kMaxTexts = (1u << 29) - 1;

    // `placement` null: texts are shared while this table holds them in
    // memory.
    explicit TextTable(std::unique_ptr<TextPlacement> placement = nullptr);

    // What the texts were placed by, or null.
    const TextPlacement* placement() const { return placement_.get(); }

    // Throws a workbook Failure for text that add() would refuse as a cell text:
    // not UTF-8 or longer than kMaxUnits. Short ASCII texts pass at once.
    static void check(std::string_view utf8) {
        if (utf8.size() > kMaxUnits || !isAscii(utf8)) checkThoroughly(utf8);
    }

    // A text with the hash the cache knows it by, and whether it is all
    // ASCII, learnt in the same pass, so that storing it reads it once less.
    struct HashedText {
        std::string_view utf8;
        std::uint64_t hash = 0;
        bool ascii = false;
    };
    // Made where it is used, so that the text and its hash stay in
    // registers instead of going through memory for every cell.
    static HashedText hashed(std::string_view utf8);

    // Number of the text in the table, added unless the cache knows it.
    // Throws a workbook Failure for text that is not UTF-8, longer than
    // kMaxUnits, or beyond kMaxTexts.
    std::uint32_t add(const HashedText& text);

    // Starts fetching the cache entry of `text` into the processor's cache,
    // for a caller that knows the texts it adds a few texts ahead: the cache
    // is too large to stay there while millions of texts stream past.
    void prefetch(const HashedText& text) const { __builtin_prefetch(&recent_[text.hash & (kCacheSize - 1)]); }

    std::uint32_t size() const { return size_; }
    // Bytes of all texts as stored: header and characters.
    std::uint64_t storedBytes() const { return log_.size(); }
    // Copies `size` bytes of the stored texts from `position` (within
    // storedBytes()) into `into`. Throws a workbook Failure when the temporary
    // file cannot be read.
    void readStored(std::uint64_t position, char* into, std::size_t size) const { log_.read(position, into, size); }
    // Bytes held in memory.
    std::size_t heldBytes() const;

    // Calls `visit` with every text in order, each valid until it returns.
    void forEach(const std::function<void(const CompactText&)>& visit) const;
    // Calls `visit` with the stored texts in order, header and characters
    // (see storedText), as stretches of whole texts that live until it
    // returns: for writers that copy many texts at a time.
    void forEachStretch(const std::function<void(std::string_view stored)>& visit) const;

private:
    friend class TextReader;
    // Texts between two kept positions.
    static constexpr std::uint32_t kKeptEvery = 64;
    static constexpr std::size_t kCacheSize = 16384;  // a power of two

    static void checkThoroughly(std::string_view utf8);
    // The text in the compact form (in buffer_ unless it is ASCII).
    CompactText encode(const HashedText& text);
    bool place(const CompactText& text);

    std::unique_ptr<TextPlacement> placement_;
    std::uint64_t releases_ = 0;
    SpilledLog log_;
    std::uint32_t size_ = 0;
    SpilledLog kept_;  // where texts 0, kKeptEvery, 2 kKeptEvery, ... start, 8 bytes each
    std::string buffer_;
    struct Recent {
        std::uint64_t position = UINT64_MAX;  // in log_
        std::uint32_t hash = 0;
        std::uint32_t index = 0;
    };
    std::vector<Recent> recent_ = std::vector<Recent>(kCacheSize);  // by hash
};

// Reads the texts of a table by number, for writers that go through the
// cells in order: numbers that follow one another cost a step through the
// log, a text asked for again (a repeated value, a header written late) is
// kept for the next time.
class TextReader {
public:
    explicit TextReader(const TextTable& table);

    // The text numbered `index` as it is stored, valid until the next call:
    // for writers that turn the compact form into their own.
    CompactText stored(std::uint32_t index) {
        if (index != nextIndex_) return storedAgain(index);
        CompactText text = storedText(inOrder_.at(nextPosition_, sizeof(StringHeader)));
        text = storedText(inOrder_.at(nextPosition_, storedSize(text)));
        ++nextIndex_;
        nextPosition_ += storedSize(text);
        return text;
    }
    // The text numbered `index` as UTF-8, valid until the next call.
    std::string_view utf8(std::uint32_t index);

private:
    struct Again {
        std::uint32_t index = UINT32_MAX;
        std::string stored;  // header and characters
    };
    static constexpr std::size_t kAgainTexts = 4096;  // a power of two

    CompactText storedAgain(std::uint32_t index);
    const char* jumpTo(std::uint32_t index);

    const TextTable& table_;
    LogWindow inOrder_, aside_, kept_;
    std::uint32_t nextIndex_ = 0;
    std::uint64_t nextPosition_ = 0;
    std::string scratch_;
    std::vector<Again> again_;
};

}  // namespace velloran::workbook
