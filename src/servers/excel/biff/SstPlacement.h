#pragma once
// The texts of a workbook placed in the shared-string table of .xls as
// they are added: where each string's header lands, so that saving needs no
// second pass to size the table and to index it (EXTSST), and which strings
// are still at hand to be shared. A string is shared while it is in the
// quarter megabyte of records last laid out and was not split over two
// records; a repeated text after that is stored again, which the format
// allows, so that filling needs no index as large as the table.
#include "SstLayout.h"
#include "TextPlacement.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace velloran::workbook::biff {

class SstPlacement : public TextPlacement {
public:
    SstPlacement();

    bool place(const CompactText& text) override;
    std::uint64_t releases() const override { return records_.handOvers(); }

    // Bytes the SST and CONTINUE records take. Throws a workbook Failure when
    // they do not fit one file (4 GB).
    std::uint64_t byteSize() const;

    // Where every keptEvery()-th string's header is, from the SST record's
    // start, and its offset in its record; EXTSST needs nothing else. When
    // the list grows long, every other entry is dropped and the spacing
    // doubles, so the list stays short however many strings there are.
    struct Position {
        std::uint32_t position;
        std::uint32_t inRecord;
    };
    const std::vector<Position>& positions() const { return positions_; }
    std::uint32_t keptEvery() const { return keptEvery_; }
    std::uint32_t size() const { return size_; }
    // Calls `visit` with where every CONTINUE record starts, in order.
    void forEachBreak(const std::function<void(const RecordBreak&)>& visit) const { records_.forEachBreak(visit); }

private:
    void keepPosition(const LaidString& laid);

    CountedRecords records_;
    std::vector<Position> positions_;
    std::uint32_t keptEvery_;
    std::uint32_t size_ = 0;
};

}  // namespace velloran::workbook::biff
