#pragma once
// Files in the XML export: the <file> elements of attachments and embedded
// objects, whose base64 data is decoded into spool files as it streams by
// (mostly by the splitting device, around the XML reader).
#include "dxl/XmlCursor.h"
#include "write/Inputs.h"

#include <functional>
#include <string>

namespace velloran::tools::dxl {

// What reading an item needs from the document around it.
struct ItemContext {
    // A new temporary file name for an attachment's or object's bytes,
    // removed once the document is written.
    std::function<std::string()> spoolFile;
    // An item that could not be read, and why.
    std::function<void(const std::string& reason)> unreadable;
};

struct FileRead {
    notes::write::ObjectInput object;  // its bytes in a spool file
    bool hasData = false;              // whether the file held <filedata>
};

// Reads the <file> element at the cursor up to its end. Throws ToolError
// naming the position when it has no name, more than one <filedata>, or
// data that is not base64.
FileRead readFile(XmlCursor& cursor, const ItemContext& context);

}  // namespace velloran::tools::dxl
