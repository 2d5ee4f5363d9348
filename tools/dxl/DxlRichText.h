#pragma once
// Rich text from the XML export, flattened to what the engine keeps:
// paragraphs of text, tab runs and embedded objects.
#include "dxl/DxlFiles.h"
#include "write/Inputs.h"

namespace velloran::tools::dxl {

// Reads the <richtext> element at the cursor up to its end. Paragraphs and
// line breaks start new paragraphs; a table becomes one paragraph a row,
// its cells separated by tabs; a section becomes its title's paragraph and
// then its own. An embedded object that holds its file's bytes becomes an
// object of the item, shown where it stands; one without them, and a
// reference to an attachment, become their file names in brackets. Layout
// (paragraph styles, pictures, fonts) and formulas (of computed text, of
// hiding) are left out: computed text is worked out when it is shown, and
// the export holds only its formula.
notes::write::RichTextInput readRichText(XmlCursor& cursor, const ItemContext& context);

}  // namespace velloran::tools::dxl
