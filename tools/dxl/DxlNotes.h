#pragma once
// Notes in the XML export beyond their items: which elements are notes,
// what a <document> element's attributes say (its form, the parent of a
// response, a conflict), and the $REF item that links a response to its
// parent, however the export wrote it.
#include "dxl/XmlCursor.h"
#include "write/Inputs.h"

#include <functional>
#include <string>
#include <string_view>

namespace velloran::tools::dxl {

// Whether `name` is an element the export writes a note as: a document, a
// note in note format, a profile document or a design note (form, view,
// agent ...). The access list is none of these.
bool isNoteElement(std::string_view name);

// What the attributes of a <document> element say about it.
struct DocumentAttributes {
    std::string form;
    std::string parent;  // the parent's universal ID, for a response or a conflict
    bool response = false;
    bool conflict = false;
};

DocumentAttributes documentAttributes(const XmlCursor& cursor);

// A part of a document that cannot be taken as it is, and why.
using NoteProblem = std::function<void(const std::string& reason)>;

// Gives the document the items the platform keeps for what its element's
// attributes say: the form as its first item "Form" (unless it has one), the
// parent as its "$REF" item, as text for typeResponseLink (unless it has
// one), and a conflict as its "$Conflict" item. A response or conflict
// without a parent is reported.
void addDocumentAttributes(const DocumentAttributes& attributes, notes::write::NoteInput& note,
                           const NoteProblem& problem);

// Gives the document's "$REF" item the type of note references, its values
// the parents' universal IDs as text: the note format writes it as raw data
// (a count and 16 bytes each). One that is neither is reported and kept.
void typeResponseLink(notes::write::NoteInput& note, const NoteProblem& problem);

}  // namespace velloran::tools::dxl
