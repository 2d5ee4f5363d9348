#include "formula/Syntax.h"

#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <string_view>

namespace velloran::notes::formula {

void fail(std::size_t position, const std::string& message) {
    throw engineFailure(msg::kFormula, {std::to_string(position), message});
}

namespace {

// Longer symbols first, so that "*<=" is not read as "*<" and "=".
constexpr auto kSymbols = std::to_array<std::string_view>({
    "*<>", "*!=", "*<=", "*>=", ":=", "!=", "<>", "<=", ">=", "*=", "*<", "*>", "*+", "=", "<", ">",
    "+",   "-",   "*",   "/",   ":",  "&",  "|",  "!",  "(",  ")",  ";",  "[",  "]"});

bool isNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == '$' || c >= 0x80; }
bool isNameChar(unsigned char c) { return isNameStart(c) || std::isdigit(c); }

class Lexer {
public:
    explicit Lexer(const std::string& source) : source_(source), folded_(text::lower(source)) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        while (true) {
            skipBlanks();
            Token token;
            token.position = advancePosition();
            if (at_ >= source_.size()) {
                tokens.push_back(token);
                return tokens;
            }
            read(token);
            tokens.push_back(std::move(token));
        }
    }

private:
    // Counts only the characters read since the last token, so that lexing
    // stays linear in the length of the formula.
    std::size_t advancePosition() {
        charactersBefore_ += text::characterCount(std::string_view(source_).substr(counted_, at_ - counted_));
        counted_ = at_;
        return charactersBefore_ + 1;
    }
    unsigned char peek(std::size_t ahead = 0) const {
        return at_ + ahead < source_.size() ? static_cast<unsigned char>(source_[at_ + ahead]) : 0;
    }
    // Blanks and whole "%REM ... %END REM" blocks, which hold free text.
    void skipBlanks() {
        while (true) {
            while (at_ < source_.size() && std::isspace(peek())) ++at_;
            if (!startsWord("%rem", at_)) return;
            skipRemarkBlock();
        }
    }
    // `word` (lower case) at byte `at`, not followed by more of a name.
    bool startsWord(std::string_view word, std::size_t at) const {
        return std::string_view(folded_).substr(at, word.size()) == word &&
               !isNameChar(at + word.size() < folded_.size() ? static_cast<unsigned char>(folded_[at + word.size()]) : 0);
    }
    void skipRemarkBlock() {
        std::size_t opened = advancePosition();
        for (std::size_t end = folded_.find("%end", at_); end != std::string::npos; end = folded_.find("%end", end + 1)) {
            std::size_t word = end + 4;
            while (word < folded_.size() && std::isspace(static_cast<unsigned char>(folded_[word]))) ++word;
            if (word > end + 4 && startsWord("rem", word)) {
                at_ = word + 3;
                return;
            }
        }
        fail(opened, "the %REM block is not closed with %END REM");
    }
    std::string name() {
        std::size_t start = at_;
        while (at_ < source_.size() && isNameChar(peek())) ++at_;
        return source_.substr(start, at_ - start);
    }

    void read(Token& token) {
        unsigned char c = peek();
        if (std::isdigit(c) || (c == '.' && std::isdigit(peek(1)))) return readNumber(token);
        if (c == '"') return readQuoted(token);
        if (c == '{') return readBraced(token);
        if (c == '@') {
            ++at_;
            token.kind = Token::Kind::Function;
            token.text.push_back('@');
            token.text += text::lower(name());
            if (token.text == "@") fail(token.position, "a function name must follow \"@\"");
            return;
        }
        if (isNameStart(c)) {
            token.kind = Token::Kind::Name;
            token.text = name();
            return;
        }
        for (std::string_view symbol : kSymbols) {
            if (std::string_view(source_).substr(at_, symbol.size()) == symbol) {
                token.kind = Token::Kind::Symbol;
                token.text = symbol;
                at_ += symbol.size();
                return;
            }
        }
        std::string message = "unexpected character '";
        message += text::characters(std::string_view(source_).substr(at_)).front();
        fail(token.position, message + "'");
    }

    // Decimal only and the same in every locale: digits, an optional
    // fraction and exponent. A number beyond what a double holds is refused.
    void readNumber(Token& token) {
        const char* start = source_.data() + at_;
        auto [end, error] = std::from_chars(start, source_.data() + source_.size(), token.number);
        token.kind = Token::Kind::Number;
        if (error == std::errc::result_out_of_range) {
            auto length = static_cast<std::size_t>(std::min<std::ptrdiff_t>(end - start, 40));
            fail(token.position, "the number " + source_.substr(at_, length) + " is out of range");
        }
        at_ += static_cast<std::size_t>(end - start);
    }

    void readQuoted(Token& token) {
        token.kind = Token::Kind::Text;
        for (++at_; at_ < source_.size(); ++at_) {
            char c = source_[at_];
            if (c == '"') {
                ++at_;
                return;
            }
            if (c == '\\' && at_ + 1 < source_.size()) c = source_[++at_];
            token.text += c;
        }
        fail(token.position, "the text is not closed with '\"'");
    }

    void readBraced(Token& token) {
        token.kind = Token::Kind::Text;
        std::size_t close = source_.find('}', at_);
        if (close == std::string::npos) fail(token.position, "the text is not closed with '}'");
        token.text = source_.substr(at_ + 1, close - at_ - 1);
        at_ = close + 1;
    }

    const std::string& source_;
    const std::string folded_;  // source_ in lower case, byte for byte
    std::size_t at_ = 0;
    std::size_t counted_ = 0;           // the byte up to which characters are counted
    std::size_t charactersBefore_ = 0;  // characters before counted_
};

}  // namespace

std::vector<Token> tokenize(const std::string& source) { return Lexer(source).run(); }

}  // namespace velloran::notes::formula
