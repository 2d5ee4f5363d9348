#pragma once
#include "CompactText.h"

#include <cstdint>

namespace velloran::workbook {

// Where a file format lays the workbook's texts as they are added, and so
// which earlier texts a new one may share: a format whose writer keeps only
// its latest texts at hand shares only those, and a workbook that follows it
// while it is filled saves in that format exactly as the format's writer
// lays it out, with no second pass over the texts.
//
// The table shares a text while it holds it in memory; a placement tells it
// when to let go of the texts it holds (and so stop sharing them), and
// which texts are never shared.
class TextPlacement {
public:
    virtual ~TextPlacement() = default;
    // Places the next text; returns whether it may be shared.
    virtual bool place(const CompactText& text) = 0;
    // Counts the times the texts placed so far were let go.
    virtual std::uint64_t releases() const = 0;
};

}  // namespace velloran::workbook
