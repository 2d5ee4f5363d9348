#include "dxl/DxlRichText.h"

#include "write/RichTextRuns.h"

#include <array>
#include <cstring>

namespace velloran::tools::dxl {

namespace {

using notes::store::RichText;
using notes::store::RichTextParagraph;
using notes::store::RunKind;

// Elements whose content is layout or binary data, never text.
constexpr std::array<const char*, 7> kLayoutOnly = {"pardef", "picture", "imagedata", "fonttable",
                                                    "colortable", "notesbitmap", "gif"};

class Flattener {
public:
    explicit Flattener(XmlCursor& cursor) : cursor_(cursor) {}

    RichText read() {
        walk(false);
        return std::move(paragraphs_);
    }

private:
    // Reads up to the end of the current element. Text counts only inside
    // a paragraph: between paragraphs it is the file's own indentation.
    void walk(bool inParagraph) {
        while (true) {
            QXmlStreamReader::TokenType token = cursor_.xml().readNext();
            cursor_.checkWellFormed();
            if (token == QXmlStreamReader::EndElement || token == QXmlStreamReader::EndDocument) return;
            if (token == QXmlStreamReader::Characters && inParagraph)
                append(cursor_.xml().text().toString().toStdString());
            if (token == QXmlStreamReader::StartElement) element(inParagraph);
        }
    }

    void element(bool inParagraph) {
        if (cursor_.is("par")) {
            if (inTable_) separateInCell();
            else startParagraph();
            walk(true);
        } else if (cursor_.is("break")) {
            if (inTable_) append(" ");
            else startParagraph();
            cursor_.skip();
        } else if (cursor_.is("tab")) {
            current().runs.push_back({RunKind::Tab, {}});
            cursor_.skip();
        } else if (cursor_.is("table")) {
            table();
        } else if (cursor_.is("attachmentref") || cursor_.is("object")) {
            reference();
        } else if (isLayoutOnly()) {
            cursor_.skip();
        } else {
            walk(inParagraph);
        }
    }

    void table() {
        bool outer = !inTable_;
        inTable_ = true;
        while (cursor_.nextChild()) {
            if (!cursor_.is("tablerow")) {
                cursor_.skip();
                continue;
            }
            startParagraph();
            for (bool first = true; cursor_.nextChild(); first = false) {
                if (!first) current().runs.push_back({RunKind::Tab, {}});
                cellHasText_ = false;
                walk(false);
            }
        }
        if (outer) inTable_ = false;
        open_ = false;
    }

    // An attachment or object shown in the text: its file name in brackets.
    void reference() {
        std::string name = cursor_.attribute("displayname");
        if (name.empty()) name = cursor_.attribute("name");
        if (cursor_.is("object")) name = embeddedFileName();
        else cursor_.skip();
        std::string label = "[";
        label += name.empty() ? "object" : name;
        label += ']';
        append(label);
    }

    // The name of the file in an embedded <object>, skipping its data.
    std::string embeddedFileName() {
        std::string name;
        while (cursor_.nextChild()) {
            if (cursor_.is("file") && name.empty()) name = cursor_.attribute("name");
            cursor_.skip();
        }
        return name;
    }

    bool isLayoutOnly() const {
        for (const char* name : kLayoutOnly)
            if (cursor_.is(name)) return true;
        return false;
    }

    void startParagraph() {
        paragraphs_.emplace_back();
        open_ = true;
    }

    // Paragraphs inside one table cell are joined with a blank.
    void separateInCell() {
        if (cellHasText_) append(" ");
    }

    RichTextParagraph& current() {
        if (!open_) startParagraph();
        return paragraphs_.back();
    }

    void append(const std::string& text) {
        if (text.empty()) return;
        notes::write::appendTextRuns(current(), text);
        cellHasText_ = true;
    }

    XmlCursor& cursor_;
    RichText paragraphs_;
    bool open_ = false;
    bool inTable_ = false;
    bool cellHasText_ = false;
};

}  // namespace

RichText readRichText(XmlCursor& cursor) {
    return Flattener(cursor).read();
}

}  // namespace velloran::tools::dxl
