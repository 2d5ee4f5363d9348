#pragma once
// What the data tools hand to the writer to put into a database.
#include "store/Records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velloran::notes::write {

// Where an attachment's or embedded object's bytes come from.
struct ObjectSource {
    enum class Kind { File, Bytes, Generated };
    Kind kind = Kind::Bytes;
    std::string file;          // File: read from this path
    std::string bytes;         // Bytes: these bytes
    std::int64_t size = 0;     // Generated: this many deterministic bytes
};

struct ObjectInput {
    std::string name;
    ObjectSource source;
};

struct RichTextInput {
    store::RichText paragraphs;        // object runs name objects below
    std::vector<ObjectInput> objects;  // the embedded objects
};

struct ItemInput {
    std::string name;
    int type = kText;
    int flags = 0;
    ValueList values;                  // ignored for rich text
    RichTextInput richText;            // only for type kRichText
};

struct NoteInput {
    std::string unid;                  // empty: one is made up
    std::int64_t created = 0;          // ms UTC
    std::int64_t modified = 0;
    std::vector<ItemInput> items;
    std::vector<ObjectInput> attachments;
};

struct ViewInput {
    std::string name;
    std::vector<std::string> aliases;
    std::string selection;             // empty: every document
    std::vector<store::ViewColumn> columns;
};

}  // namespace velloran::notes::write
