#include "formula/Syntax.h"

#include "text/Utf8.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <string_view>

namespace velloran::notes::formula {

void fail(std::size_t position, const std::string& message) {
    throw EngineError("Formula error at position " + std::to_string(position) + ": " + message);
}

namespace {

constexpr std::array<std::string_view, 21> kSymbols = {":=", "!=", "<>", "<=", ">=", "=", "<", ">", "+", "-", "*",
                                                       "/",  ":",  "&",  "|",  "!",  "(", ")", ";", "[", "]"};

bool isNameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == '$' || c >= 0x80; }
bool isNameChar(unsigned char c) { return isNameStart(c) || std::isdigit(c); }

class Lexer {
public:
    explicit Lexer(const std::string& source) : source_(source) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        while (true) {
            skipBlanks();
            Token token;
            token.position = position();
            if (at_ >= source_.size()) {
                tokens.push_back(token);
                return tokens;
            }
            read(token);
            tokens.push_back(std::move(token));
        }
    }

private:
    std::size_t position() const { return text::characterCount(std::string_view(source_).substr(0, at_)) + 1; }
    unsigned char peek(std::size_t ahead = 0) const {
        return at_ + ahead < source_.size() ? static_cast<unsigned char>(source_[at_ + ahead]) : 0;
    }
    void skipBlanks() {
        while (at_ < source_.size() && std::isspace(peek())) ++at_;
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

    void readNumber(Token& token) {
        const char* start = source_.c_str() + at_;
        char* end = nullptr;
        token.kind = Token::Kind::Number;
        token.number = std::strtod(start, &end);
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
    std::size_t at_ = 0;
};

}  // namespace

std::vector<Token> tokenize(const std::string& source) { return Lexer(source).run(); }

}  // namespace velloran::notes::formula
