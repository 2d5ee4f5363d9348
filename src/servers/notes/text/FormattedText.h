#pragma once
// Rich text rendered as plain text.
#include "store/Records.h"

#include <string>

namespace velloran::notes::text {

// Paragraphs joined by "\r\n"; tab runs become "\t" unless `stripTabs`
// removes them; embedded objects leave no text. With `lineLength` > 0 every
// paragraph is word-wrapped at that many characters (not bytes), a word
// longer than a line being cut hard.
std::string formatRichText(const store::RichText& richText, bool stripTabs, int lineLength);

// Wraps one line of text; the pieces are joined by "\r\n".
std::string wrapLine(std::string_view line, std::size_t lineLength);

}  // namespace velloran::notes::text
