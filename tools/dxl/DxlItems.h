#pragma once
// Items of a document in the XML export.
#include "dxl/DxlFiles.h"
#include "write/Inputs.h"

namespace velloran::tools::dxl {

// Reads the <item> element at the cursor up to its end into `note`: a value
// item, a rich text item, or, for a $FILE item, an attachment whose bytes
// are decoded into a spool file; the $FILE item keeps its place among the
// document's items. Throws a tool Failure naming the position when
// a value is malformed.
void readItem(XmlCursor& cursor, notes::write::NoteInput& note, const ItemContext& context);

// Reads the <datetime> element at the cursor up to its end: nothing when
// it is empty, as the export writes an empty value. Throws a tool Failure naming
// the position when its text is not a date-time.
std::optional<notes::DateTime> readDateTime(XmlCursor& cursor);

}  // namespace velloran::tools::dxl
