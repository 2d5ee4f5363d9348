#pragma once
// Walks a QXmlStreamReader element by element, with errors that name the
// line and column they refer to.
#include "dxl/SplitTextDevice.h"

#include <QXmlStreamReader>

#include <map>
#include <string>

namespace velloran::tools::dxl {

class XmlCursor {
public:
    // How many elements, one inside another, the recursive walks of the
    // reader may be in at once: far more than the export ever nests, and
    // few enough that a hostile file cannot exhaust the stack.
    static constexpr int kMaxNesting = 1000;

    // Taken by a recursive walk for the element it reads, for as long as it
    // reads it. Throws a tool Failure naming the position when the walks would
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
    // Throws when the reader has met malformed XML. Notes the entities that
    // are not read (see unreadEntities).
    void checkWellFormed();

    // The entities whose text is left out, by name: those the file declares
    // as external (a file or address, which is never read), and those
    // referred to but declared only in an external DTD (which is not read
    // either). The reader leaves out the references to the former without
    // a trace, so that only the latter's are counted.
    struct UnreadEntity {
        std::string where;       // of its declaration or its first reference
        std::string systemId;    // for an external entity
        int references = 0;      // counted references
    };
    const std::map<std::string, UnreadEntity>& unreadEntities() const { return unread_; }

    // The data of the <filedata> element whose first text is `text`, when
    // it went around the reader; `text` then goes on after its stand-in.
    std::optional<SpooledData> takeSpooled(QStringView& text) { return device_.takeSpooled(text); }

private:
    void noteUnreadEntities();

    SplitTextDevice device_;
    QXmlStreamReader xml_;
    std::map<std::string, UnreadEntity> unread_;
    int nesting_ = 0;
};

}  // namespace velloran::tools::dxl
