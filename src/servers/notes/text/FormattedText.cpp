#include "text/FormattedText.h"

#include "text/Utf8.h"

#include <vector>

namespace velloran::notes::text {

namespace {

std::string paragraphText(const store::RichTextParagraph& paragraph, bool stripTabs) {
    std::string out;
    for (const store::RichTextRun& run : paragraph.runs) {
        if (run.kind == store::RunKind::Text) out += run.content;
        else if (run.kind == store::RunKind::Tab && !stripTabs) out += '\t';
    }
    return out;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    for (std::size_t space; (space = line.find(' ', start)) != std::string_view::npos; start = space + 1)
        out.push_back(line.substr(start, space - start));
    out.push_back(line.substr(start));
    return out;
}

// Greedy word wrap into lines of at most `width` characters.
class LineFiller {
public:
    explicit LineFiller(std::size_t width) : width_(width) {}

    void add(std::string_view word) {
        std::size_t length = characterCount(word);
        if (started_ && count_ + 1 + length <= width_) {
            current_ += ' ';
            current_ += word;
            count_ += 1 + length;
            return;
        }
        if (started_) flush();
        place(word);
    }
    std::vector<std::string> finish() {
        flush();
        return std::move(lines_);
    }

private:
    void place(std::string_view word) {
        std::vector<std::string_view> chars = characters(word);
        std::size_t at = 0;
        while (chars.size() - at > width_) {
            std::string piece;
            for (std::size_t i = at; i < at + width_; ++i) piece += chars[i];
            lines_.push_back(std::move(piece));
            at += width_;
        }
        for (std::size_t i = at; i < chars.size(); ++i) current_ += chars[i];
        count_ = chars.size() - at;
        started_ = true;
    }
    void flush() {
        lines_.push_back(std::move(current_));
        current_.clear();
        count_ = 0;
        started_ = false;
    }

    std::size_t width_;
    std::vector<std::string> lines_;
    std::string current_;
    std::size_t count_ = 0;
    bool started_ = false;
};

std::string joined(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += lines[i];
    }
    return out;
}

}  // namespace

std::string wrapLine(std::string_view line, std::size_t lineLength) {
    if (lineLength == 0 || characterCount(line) <= lineLength) return std::string(line);
    LineFiller filler(lineLength);
    for (std::string_view word : words(line)) filler.add(word);
    return joined(filler.finish());
}

std::string formatRichText(const store::RichText& richText, bool stripTabs, int lineLength) {
    std::vector<std::string> paragraphs;
    for (const store::RichTextParagraph& paragraph : richText)
        paragraphs.push_back(wrapLine(paragraphText(paragraph, stripTabs), lineLength > 0 ? lineLength : 0));
    return joined(paragraphs);
}

}  // namespace velloran::notes::text
