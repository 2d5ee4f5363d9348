#pragma once
// The shared-string table as the workbook stores it: an SST record and its
// CONTINUE records, laid out string by string as texts are added and kept
// in memory, so that saving writes them as they are; and the EXTSST index
// into them.
#include "BiffText.h"
#include "RecordStream.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace velloran::biff {

class SstRecords {
public:
    SstRecords();

    // Appends a string as string number size(): its header, then its
    // characters. A string's header is never split from its first
    // character, a string continued in the next record starts it with the
    // flags byte again, and a UTF-16 surrogate pair is never split. Returns
    // the stored header and characters when they lie in one piece (they stay
    // where they are), or an empty view when they had to be split.
    std::string_view append(const BiffCharacters& text);

    std::uint32_t size() const { return size_; }
    // Bytes the records take.
    std::uint64_t byteSize() const { return records_.position(); }

    // Writes SST, its CONTINUE records and EXTSST; `references` is the
    // number of cells that use the table.
    void write(RecordStream& out, std::uint32_t references) const;

private:
    void continueRecord();
    // Returns whether the characters went into the current record whole.
    bool appendCharacters(std::string_view characters, bool wide);
    void writeExtSst(RecordStream& out, std::uint64_t start) const;

    RecordStream records_;
    std::uint32_t size_ = 0;
    // Where the header of every 8th string is, from the SST record's start,
    // and where each record starts; EXTSST needs nothing else.
    std::vector<std::uint32_t> positions_;
    std::vector<std::uint32_t> recordStarts_;
};

}  // namespace velloran::biff
