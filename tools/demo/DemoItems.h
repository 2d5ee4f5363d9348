#pragma once
// Shorthands for the items of the demo documents.
#include "write/Inputs.h"

#include <string>
#include <vector>

namespace velloran::tools::demo {

using notes::write::ItemInput;

inline ItemInput textItem(const std::string& name, const std::string& value) {
    return {name, notes::kText, 0, {value}, {}};
}

inline ItemInput textsItem(const std::string& name, const std::vector<std::string>& values) {
    return {name, notes::kText, 0, notes::ValueList(values.begin(), values.end()), {}};
}

inline ItemInput numberItem(const std::string& name, double value) {
    return {name, notes::kNumber, 0, {value}, {}};
}

inline ItemInput dateItem(const std::string& name, std::int64_t msecs, bool hasTime = true) {
    return {name, notes::kDateTime, 0, {notes::DateTime{msecs, hasTime}}, {}};
}

// A rich-text item; "\t" in a paragraph is a tab, and each object is
// referenced at the end of the last paragraph.
ItemInput richTextItem(const std::string& name, const std::vector<std::string>& paragraphs,
                       const std::vector<notes::write::ObjectInput>& objects = {});

notes::write::ObjectInput textFile(const std::string& name, const std::string& contents);

}  // namespace velloran::tools::demo
