#pragma once
// A received Internet mail as the XML export writes it: its headers as
// RFC 822 text items and its body as MIME part items, all raw item data.
#include "dxl/DxlFiles.h"
#include "write/Inputs.h"

#include <cstddef>
#include <string>

namespace velloran::tools::dxl {

// The raw data item `item` of the raw type `rawType` (the hex type code
// of its <rawitemdata>) at `where`. An RFC 822 header becomes a text item
// of its text, or a date-time item for a date header; a MIME part stays
// raw data, noted in `context` as the item at `place` among the document's
// items, for decodeMimeBody. Other types, and a header whose data cannot be
// read (reported), stay as they are.
notes::write::ItemInput decodeMailItem(const std::string& rawType, notes::write::ItemInput item, std::size_t place,
                                       const std::string& where, const ItemContext& context);

// Joins the document's MIME part items of each name, in their order, into
// one rich text item of that name, in the place of the first: the mail's
// text, a paragraph a line. Its attachments become the document's, each
// with its $FILE item. A part whose body is kept in an attached file takes
// that file's bytes, and the file goes from the document. Parts that cannot
// be read stay raw data and are reported, as are character sets the import
// does not know.
void decodeMimeBody(notes::write::NoteInput& note, const ItemContext& context);

// The <mime> element at the cursor: a whole mail in MIME form, as the
// export writes a mail with its MIME option set so. Its headers become the
// items the platform keeps them in (Subject, From, SendTo, CopyTo,
// BlindCopyTo, ReplyTo, PostedDate, $MessageID) unless the document has
// them already, its body the rich text item Body and its attachments the
// document's.
void readMimeElement(XmlCursor& cursor, notes::write::NoteInput& note, const ItemContext& context);

}  // namespace velloran::tools::dxl
