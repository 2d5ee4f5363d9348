// Rich text as plain text: paragraphs, tabs and wrapping.
#include "text/FormattedText.h"

#include <gtest/gtest.h>

namespace velloran::notes::text {
namespace {

using store::RunKind;

store::RichText richText(std::vector<std::vector<store::RichTextRun>> paragraphs) {
    store::RichText out;
    for (auto& runs : paragraphs) out.push_back({std::move(runs)});
    return out;
}

TEST(FormattedTextTest, ParagraphsAreJoinedAndTabsKeptOrStripped) {
    store::RichText body = richText({{{RunKind::Text, "Name"}, {RunKind::Tab, {}}, {RunKind::Text, "Value"}},
                                     {{RunKind::Object, "picture.png"}},
                                     {{RunKind::Text, "end"}}});
    EXPECT_EQ(formatRichText(body, false, 0), "Name\tValue\r\n\r\nend");
    EXPECT_EQ(formatRichText(body, true, 0), "NameValue\r\n\r\nend");
    EXPECT_EQ(formatRichText({}, true, 80), "");
}

TEST(FormattedTextTest, LongParagraphsWrapAtWordsWithinTheLineLength) {
    std::string words;
    for (int i = 0; i < 30; ++i) {
        if (i) words += ' ';
        words += "word";
        words += std::to_string(i);
    }
    std::string wrapped = wrapLine(words, 80);
    std::size_t start = 0;
    for (std::size_t end; start < wrapped.size(); start = end + 2) {
        end = wrapped.find("\r\n", start);
        if (end == std::string::npos) end = wrapped.size();
        std::string line = wrapped.substr(start, end - start);
        EXPECT_LE(line.size(), 80u) << line;
        EXPECT_NE(line.front(), ' ');
        EXPECT_NE(line.back(), ' ');
    }
    EXPECT_EQ(wrapped.substr(0, 77), words.substr(0, 77));
    EXPECT_EQ(wrapLine("short line", 80), "short line");
}

TEST(FormattedTextTest, AWordLongerThanALineIsCutHard) {
    EXPECT_EQ(wrapLine("ab " + std::string(10, 'x') + " cd", 4), "ab\r\nxxxx\r\nxxxx\r\nxx\r\ncd");
}

TEST(FormattedTextTest, LineLengthCountsCharactersNotBytes) {
    std::string chinese;
    for (int i = 0; i < 100; ++i) chinese += "中";
    std::string wrapped = wrapLine(chinese, 80);
    EXPECT_EQ(wrapped.find("\r\n"), 80u * 3);
    EXPECT_EQ(wrapped.size(), 100u * 3 + 2);
    EXPECT_EQ(wrapLine("中文 text", 7), "中文 text");
}

}  // namespace
}  // namespace velloran::notes::text
