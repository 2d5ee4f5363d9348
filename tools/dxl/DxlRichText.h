#pragma once
// Rich text from the XML export, flattened to what the engine keeps:
// paragraphs of text and tab runs.
#include "dxl/XmlCursor.h"
#include "store/Records.h"

namespace velloran::tools::dxl {

// Reads the <richtext> element at the cursor up to its end. Paragraphs and
// line breaks start new paragraphs; a table becomes one paragraph a row,
// its cells separated by tabs; attachment and object references become
// their file names in brackets. Layout (paragraph styles, pictures, fonts)
// is left out.
notes::store::RichText readRichText(XmlCursor& cursor);

}  // namespace velloran::tools::dxl
