#include "dxl/DxlRichText.h"

#include "write/RichTextRuns.h"

#include <array>
#include <utility>

namespace velloran::tools::dxl {

namespace {

using notes::store::RichTextParagraph;
using notes::store::RunKind;

// Elements whose content is layout, binary data or formulas, never text.
constexpr std::array<const char*, 10> kNoText = {"pardef",      "picture", "imagedata", "fonttable",   "colortable",
                                                 "notesbitmap", "gif",     "code",      "computedtext", "font"};

class Flattener {
public:
    Flattener(XmlCursor& cursor, const ItemContext& context) : cursor_(cursor), context_(context) {}

    notes::write::RichTextInput read() {
        walk(false);
        return std::move(read_);
    }

private:
    // Reads up to the end of the current element. Text counts only inside
    // a paragraph: between paragraphs it is the file's own indentation.
    void walk(bool inParagraph) {
        XmlCursor::Nesting nesting(cursor_);
        while (true) {
            QXmlStreamReader::TokenType token = cursor_.xml().readNext();
            cursor_.checkWellFormed();
            switch (token) {
            case QXmlStreamReader::Characters:
                if (inParagraph) characters();
                break;
            case QXmlStreamReader::StartElement:
                endBlanks();
                element(inParagraph);
                break;
            case QXmlStreamReader::EndElement:
            case QXmlStreamReader::EndDocument:
                endBlanks();
                return;
            default: break;
            }
        }
    }

    // Blanks between two tags are held back until the next tag: a
    // pretty-printed file indents the elements of a paragraph with blanks
    // that start on a new line, while the document's own line breaks are
    // elements (<break/>), so blanks with a line end are not text.
    void characters() {
        const QXmlStreamReader& xml = cursor_.xml();
        if (xml.isWhitespace() && !xml.isCDATA()) {
            blanks_ += xml.text().toString().toStdString();
            return;
        }
        append(std::exchange(blanks_, {}));
        append(xml.text().toString().toStdString());
    }

    void endBlanks() {
        if (blanks_.find('\n') == std::string::npos) append(blanks_);
        blanks_.clear();
    }

    void element(bool inParagraph) {
        if (cursor_.is("par")) {
            if (inTable_) separateInCell();
            else startParagraph();
            walk(true);
        } else if (cursor_.is("sectiontitle")) {
            if (inTable_) separateInCell();
            else startParagraph();
            walk(true);
            open_ = false;
        } else if (cursor_.is("break")) {
            if (inTable_) append(" ");
            else startParagraph();
            cursor_.skip();
        } else if (cursor_.is("tab")) {
            current().runs.push_back({RunKind::Tab, {}});
            cursor_.skip();
        } else if (cursor_.is("table")) {
            table();
        } else if (cursor_.is("attachmentref")) {
            reference();
        } else if (cursor_.is("object")) {
            object();
        } else if (holdsNoText()) {
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

    // An attachment shown in the text: its file name in brackets.
    void reference() {
        std::string name = cursor_.attribute("displayname");
        if (name.empty()) name = cursor_.attribute("name");
        cursor_.skip();
        label(name);
    }

    // An embedded object: each of its files that holds its bytes becomes an
    // object of the item, the others their names in brackets.
    void object() {
        bool shown = false;
        while (cursor_.nextChild()) {
            if (!cursor_.is("file")) {
                cursor_.skip();
                continue;
            }
            FileRead file = readFile(cursor_, context_);
            shown = true;
            if (!file.hasData) {
                label(file.object.name);
                continue;
            }
            current().runs.push_back({RunKind::Object, file.object.name});
            cellHasText_ = true;
            read_.objects.push_back(std::move(file.object));
        }
        if (!shown) label({});
    }

    void label(const std::string& name) {
        append("[" + (name.empty() ? std::string("object") : name) + "]");
    }

    bool holdsNoText() const {
        for (const char* name : kNoText)
            if (cursor_.is(name)) return true;
        return false;
    }

    void startParagraph() {
        read_.paragraphs.emplace_back();
        open_ = true;
    }

    // Paragraphs inside one table cell are joined with a blank.
    void separateInCell() {
        if (cellHasText_) append(" ");
    }

    RichTextParagraph& current() {
        if (!open_) startParagraph();
        return read_.paragraphs.back();
    }

    void append(const std::string& text) {
        if (text.empty()) return;
        notes::write::appendTextRuns(current(), text);
        cellHasText_ = true;
    }

    XmlCursor& cursor_;
    const ItemContext& context_;
    notes::write::RichTextInput read_;
    bool open_ = false;
    bool inTable_ = false;
    bool cellHasText_ = false;
    std::string blanks_;  // blanks of a paragraph not yet known to be text
};

}  // namespace

notes::write::RichTextInput readRichText(XmlCursor& cursor, const ItemContext& context) {
    return Flattener(cursor, context).read();
}

}  // namespace velloran::tools::dxl
