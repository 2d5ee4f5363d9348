#pragma once
// Reads an XML export as a stream: each document, view and the access list
// is handed over as soon as it is complete, so memory holds one document at
// a time however large the file. The export is of a whole database (root
// <database>) or of a single note or access list, the root then being that
// note's element (<document>, <note>, <view>, <acl>, <form> ...).
#include "dxl/DxlNotes.h"
#include "dxl/XmlCursor.h"
#include "write/Inputs.h"

#include <memory>
#include <string>
#include <vector>

class QIODevice;
class QTemporaryDir;

namespace velloran::tools::dxl {

// How a skipped note in note format is counted: this, then its class.
inline constexpr const char* kNoteOfClass = "note of class ";

// A view or folder as read, with where it starts in the XML.
struct ViewRead {
    notes::write::ViewInput design;
    bool folder = false;
    bool emptyFolder = false;  // a folder imported without documents: the export does not list them
    std::string where;         // "line L, column C"
    bool unnamed = false;      // the export gives it no name: design.name is the one given here
};

// Receives what the reader finds, in file order.
class DxlHandler {
public:
    virtual ~DxlHandler() = default;
    virtual void title(const std::string& title) = 0;
    // The document's attachment and object files exist until this returns.
    virtual void document(const notes::write::NoteInput& note, const std::string& where) = 0;
    virtual void view(const ViewRead& view) = 0;
    virtual void acl(const std::vector<notes::store::AclEntry>& entries) = 0;
    // A note the import does not take: a design note by its element name
    // ("form", "agent" ...), a note in note format by kNoteOfClass and its class.
    virtual void skipped(const std::string& kind) = 0;
    // A part that could not be read: its kind ("item", "acl entry" ...) and
    // why, naming where it is.
    virtual void unreadable(const std::string& kind, const std::string& reason) = 0;
};

class DxlReader {
public:
    DxlReader(QIODevice& input, DxlHandler& handler);
    ~DxlReader();
    DxlReader(const DxlReader&) = delete;
    DxlReader& operator=(const DxlReader&) = delete;

    // Reads the whole input. Throws a tool Failure naming the line and column
    // when the XML is malformed or a value cannot be read.
    void read();

private:
    void readDatabase();
    void readNote();
    void readNoteFormat();
    void readToEnd();
    void reportUnreadEntities();
    void readDocument(const DocumentAttributes& attributes);
    void readNoteInfo(notes::write::NoteInput& note);
    std::int64_t readMoment();
    void readView(bool folder);
    void readViewCode(notes::write::ViewInput& view);
    void readColumn(notes::write::ViewInput& view);
    void readAcl();
    std::string spoolFile();
    void removeSpooled();

    XmlCursor cursor_;
    DxlHandler& handler_;
    std::unique_ptr<QTemporaryDir> spool_;
    int spooled_ = 0;
    std::vector<std::string> documentFiles_;  // spool files of the document being read
    int unnamedViews_ = 0;                     // views without name or alias so far, each named apart
};

}  // namespace velloran::tools::dxl
