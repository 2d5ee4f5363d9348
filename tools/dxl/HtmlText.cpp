#include "dxl/HtmlText.h"

#include "dxl/MailEncodings.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <set>
#include <charconv>

namespace velloran::tools::dxl {

namespace {

// Tags of blocks, which start and end on lines of their own.
constexpr std::array<std::string_view, 18> kLineTags = {"div", "tr", "li", "h1", "h2", "h3", "h4", "h5", "h6",
                                                        "table", "blockquote", "hr", "ul", "ol", "pre", "title",
                                                        "dt", "dd"};

bool isLineTag(std::string_view name) {
    for (std::string_view tag : kLineTags)
        if (name == tag) return true;
    return false;
}

std::string utf8Of(char32_t code) {
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = 0xFFFD;
    QByteArray bytes = QString::fromUcs4(&code, 1).toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// The character reference at `at` ("&amp;", "&#20013;", "&#x4E2D;"): its
// text and its length; nothing when there is none.
std::optional<std::pair<std::string, std::size_t>> reference(std::string_view html, std::size_t at) {
    constexpr std::size_t kLongest = 12;  // "&#x10FFFF;" and the named ones fit
    std::size_t end = html.substr(0, std::min(html.size(), at + kLongest)).find(';', at);
    if (end == std::string_view::npos) return std::nullopt;
    std::string_view name = html.substr(at + 1, end - at - 1);
    std::size_t length = end - at + 1;
    if (name.size() > 1 && name[0] == '#') {
        bool hex = name[1] == 'x' || name[1] == 'X';
        std::string_view digits = name.substr(hex ? 2 : 1);
        std::uint32_t code = 0;
        auto [stop, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || stop != digits.data() + digits.size()) return std::nullopt;
        return std::pair{utf8Of(code), length};
    }
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kNamed = {
        {{"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", " "}}};
    for (const auto& [known, text] : kNamed)
        if (lowerAscii(name) == known) return std::pair{std::string(text), length};
    return std::nullopt;
}

class HtmlReader {
public:
    explicit HtmlReader(std::string_view html) : html_(html) {}

    std::string read() {
        while (at_ < html_.size()) {
            if (html_[at_] == '<') tag();
            else if (html_[at_] == '&') characterReference();
            else character(html_[at_++]);
        }
        return tidy();
    }

private:
    void tag() {
        if (html_.substr(at_, 4) == "<!--") {
            if (!skipPast("-->")) at_ = html_.size();
            return;
        }
        std::size_t end = html_.find('>', at_);
        if (end == std::string_view::npos) end = html_.size();
        std::string_view inside = html_.substr(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        bool closing = !inside.empty() && inside[0] == '/';
        if (closing) inside.remove_prefix(1);
        std::size_t nameEnd = inside.find_first_of(" \t\r\n/>");
        std::string name = lowerAscii(inside.substr(0, nameEnd));
        // A script's or style's content is never text; left unclosed, only its tag goes.
        if (!closing && (name == "script" || name == "style") && !unclosed_.count(name)) {
            if (skipPast("</" + name)) skipPast(">");
            else unclosed_.insert(name);  // none later is closed either: no need to look again
            return;
        }
        if (name == "pre") pre_ = !closing;
        if (name == "td" || name == "th") blank();
        else if (name == "br") lineEnd();
        else if (name == "p") endLines(2);
        else if (isLineTag(name)) endLines(1);
    }

    void characterReference() {
        if (auto found = reference(html_, at_)) {
            text_ += found->first;
            at_ += found->second;
        } else {
            character(html_[at_++]);
        }
    }

    void character(char c) {
        bool isBlank = c == ' ' || c == '\t' || c == '\r' || c == '\n';
        if (pre_ && c == '\n') lineEnd();
        else if (isBlank) blank();
        else text_ += c;
    }

    void blank() {
        if (!text_.empty() && text_.back() != ' ' && text_.back() != '\n') text_ += ' ';
    }

    void lineEnd() {
        while (!text_.empty() && text_.back() == ' ') text_.pop_back();
        text_ += '\n';
    }

    // Unless there is no text yet, makes it end with `count` line ends
    // (a paragraph's end leaves an empty line).
    void endLines(std::size_t count) {
        while (!text_.empty() && text_.back() == ' ') text_.pop_back();
        std::size_t have = 0;
        while (have < count && have < text_.size() && text_[text_.size() - 1 - have] == '\n') ++have;
        if (!text_.empty()) text_.append(count - have, '\n');
    }

    // Moves past the next `end` (lower case), letter case ignored; false,
    // without moving, when there is none.
    bool skipPast(std::string_view end) {
        auto sameLetter = [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; };
        auto found = std::search(html_.begin() + static_cast<std::ptrdiff_t>(at_), html_.end(), end.begin(), end.end(),
                                 sameLetter);
        if (found == html_.end()) return false;
        at_ = static_cast<std::size_t>(found - html_.begin()) + end.size();
        return true;
    }

    // No blank at a line's start or end, at most one empty line in a row,
    // none at the start or the end.
    std::string tidy() const {
        std::string out;
        int lineEnds = 0;
        for (std::size_t i = 0; i < text_.size(); ++i) {
            char c = text_[i];
            if (c == '\n') {
                while (!out.empty() && out.back() == ' ') out.pop_back();
                ++lineEnds;
                continue;
            }
            if (c == ' ' && (out.empty() || lineEnds > 0)) continue;
            if (!out.empty() && lineEnds > 0) out.append(std::min(lineEnds, 2), '\n');
            lineEnds = 0;
            out += c;
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        return out;
    }

    std::string_view html_;
    std::size_t at_ = 0;
    bool pre_ = false;
    std::set<std::string> unclosed_;  // script and style when the rest holds no end tag of theirs
    std::string text_;
};

}  // namespace

std::string htmlToText(std::string_view html) { return HtmlReader(html).read(); }

}  // namespace velloran::tools::dxl
