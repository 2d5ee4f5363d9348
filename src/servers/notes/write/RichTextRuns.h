#pragma once
#include "store/Records.h"

#include <string_view>

namespace velloran::notes::write {

// Appends `text` to the paragraph as text runs, each tab character becoming
// a tab run. An empty text still leaves the paragraph one (empty) run.
void appendTextRuns(store::RichTextParagraph& paragraph, std::string_view text);

}  // namespace velloran::notes::write
