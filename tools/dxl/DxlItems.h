#pragma once
// Items of a document in the XML export.
#include "dxl/XmlCursor.h"
#include "write/Inputs.h"

#include <functional>
#include <string>

namespace velloran::tools::dxl {

// What reading an item needs from the document around it.
struct ItemContext {
    // A new temporary file name for an attachment's bytes.
    std::function<std::string()> spoolFile;
    // An item that could not be read, and why.
    std::function<void(const std::string& reason)> unreadable;
};

// Reads the <item> element at the cursor up to its end into `note`: a value
// item, a rich text item, or, for a $FILE item, an attachment whose bytes
// are decoded into a spool file. Throws ToolError naming the position when
// a value is malformed.
void readItem(XmlCursor& cursor, notes::write::NoteInput& note, const ItemContext& context);

}  // namespace velloran::tools::dxl
