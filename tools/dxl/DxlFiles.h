#pragma once
// Files in the XML export: the <file> elements of attachments and embedded
// objects, whose base64 data is decoded into spool files as it streams by
// (mostly by the splitting device, around the XML reader).
#include "dxl/XmlCursor.h"
#include "write/Inputs.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velloran::tools::dxl {

// A MIME part item of a document: its place among the document's items and
// where it is in the file.
struct MimePartPlace {
    std::size_t item;
    std::string where;
};

// What reading an item needs from the document around it.
struct ItemContext {
    // A new temporary file name for an attachment's or object's bytes,
    // removed once the document is written.
    std::function<std::string()> spoolFile;
    // An item that could not be read, and why.
    std::function<void(const std::string& reason)> unreadable;
    // The document's MIME part items as they are read, joined into its
    // body once all its items are (see decodeMimeBody).
    std::shared_ptr<std::vector<MimePartPlace>> mimeParts = std::make_shared<std::vector<MimePartPlace>>();
};

struct FileRead {
    notes::write::ObjectInput object;  // its bytes in a spool file
    bool hasData = false;              // whether the file held <filedata>
};

// Reads the <file> element at the cursor up to its end. Throws a tool Failure
// naming the position when it has no name, more than one <filedata>, or
// data that is not base64.
FileRead readFile(XmlCursor& cursor, const ItemContext& context);

}  // namespace velloran::tools::dxl
