#pragma once
#include "CompactText.h"

#include <cstdint>

namespace velloran::workbook {

// Where a file format lays the workbook's texts as they are added, and so
// which earlier texts a new one may share: a format whose writer keeps only
// its latest texts at hand shares only those, and a workbook that follows it
// while it is filled saves in that format exactly as the format's writer
// lays it out, with no second pass over the texts.
class TextPlacement {
public:
    static constexpr std::uint64_t kUnshared = UINT64_MAX;

    virtual ~TextPlacement() = default;
    // Places the next text; returns its place, or kUnshared when it can
    // never be shared.
    virtual std::uint64_t place(const CompactText& text) = 0;
    // Whether the text placed at `place` may still be shared.
    virtual bool isAtHand(std::uint64_t place) const = 0;
    // Counts the times the texts at hand were let go, so that the table can
    // let go of its own copies with them.
    virtual std::uint64_t releases() const = 0;
};

}  // namespace velloran::workbook
