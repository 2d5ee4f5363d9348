#pragma once
// Walks a QXmlStreamReader element by element, with errors that name the
// line and column they refer to.
#include "dxl/SplitTextDevice.h"

#include <QXmlStreamReader>

#include <string>

namespace velloran::tools::dxl {

class XmlCursor {
public:
    // How many elements, one inside another, the recursive walks of the
    // reader may be in at once: far more than the export ever nests, and
    // few enough that a hostile file cannot exhaust the stack.
    static constexpr int kMaxNesting = 1000;

    // Taken by a recursive walk for the element it reads, for as long as it
    // reads it. Throws ToolError naming the position when the walks would
    // be in more than kMaxNesting elements.
    class Nesting {
    public:
        explicit Nesting(XmlCursor& cursor);
        ~Nesting() { --cursor_.nesting_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        XmlCursor& cursor_;
    };

    // Reads `input`, which must be open, handing long texts over in pieces.
    explicit XmlCursor(QIODevice& input) : device_(input), xml_(&device_) {}

    QXmlStreamReader& xml() { return xml_; }
    // Whether the current element has the local name `name`.
    bool is(const char* name) const { return xml_.name() == QLatin1StringView(name); }
    std::string name() const { return xml_.name().toString().toStdString(); }
    std::string attribute(const char* name) const;
    bool flag(const char* name) const { return attribute(name) == "true"; }

    // Moves to the next child element of the current one; false once the
    // current element has ended. Throws on malformed XML.
    bool nextChild();
    // Moves to the first element of the document; throws when there is none.
    void toRoot();
    // Skips the rest of the current element.
    void skip();
    // The text of the current element and its descendants, <break/> as a
    // line break; ends on the element's end.
    std::string text();

    // "line L, column C" of the current position.
    std::string where() const;
    [[noreturn]] void fail(const std::string& message) const;
    // Throws when the reader has met malformed XML.
    void checkWellFormed() const;
    // The data of the <filedata> element whose first text is `text`, when
    // it went around the reader; `text` then goes on after its stand-in.
    std::optional<SpooledData> takeSpooled(QStringView& text) { return device_.takeSpooled(text); }

private:
    SplitTextDevice device_;
    QXmlStreamReader xml_;
    int nesting_ = 0;
};

}  // namespace velloran::tools::dxl
