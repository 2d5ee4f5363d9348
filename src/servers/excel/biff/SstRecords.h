#pragma once
// The shared-string table as the workbook stores it: an SST record and its
// CONTINUE records, laid out string by string as texts are added and
// spilled to a temporary file a buffer at a time, so that saving copies
// them as they are and memory does not grow with the table; and the EXTSST
// index into them.
#include "BiffText.h"
#include "RecordStream.h"
#include "SpillFile.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace velloran::biff {

class SstRecords {
public:
    SstRecords();

    // Where a string was stored: its offset in the records, or kSplit when
    // it was split over two records.
    static constexpr std::uint32_t kSplit = 0;

    // Appends a string as string number size(): its header, then its
    // characters. A string's header is never split from its first
    // character, a string continued in the next record starts it with the
    // flags byte again, and a UTF-16 surrogate pair is never split. Throws
    // WorkbookError when the table outgrows the format or its temporary file.
    std::uint32_t append(const BiffCharacters& text);

    // The header and characters stored at `position` (from append) while
    // they are still in memory, or null once they went to the file.
    const char* held(std::uint32_t position) const { return records_.held(position); }

    std::uint32_t size() const { return size_; }
    // Bytes the records take.
    std::uint64_t byteSize() const { return records_.position(); }
    // Bytes held in memory: what the table's memory grows with.
    std::size_t heldBytes() const;

    // Writes SST, its CONTINUE records and EXTSST; `references` is the
    // number of cells that use the table.
    void write(RecordStream& out, std::uint32_t references) const;

private:
    void continueRecord();
    // Returns whether the characters went into the current record whole.
    bool appendCharacters(std::string_view characters, bool wide);
    void keepPosition(std::uint32_t position);
    void writeRecords(ByteSink& sink, std::uint32_t references) const;
    void writeExtSst(RecordStream& out, std::uint64_t start) const;

    SpillFile spilled_;
    RecordStream records_{&spilled_};
    std::uint32_t size_ = 0;
    std::uint32_t recordStart_ = 0;
    // Where every keptEvery_-th string's header is, from the SST record's
    // start, and its offset in its record; EXTSST needs nothing else. When
    // the list grows long, every other entry is dropped and keptEvery_
    // doubles, so the list stays short however many strings there are.
    struct Position {
        std::uint32_t position;
        std::uint32_t inRecord;
    };
    std::vector<Position> positions_;
    std::uint32_t keptEvery_;
};

}  // namespace velloran::biff
