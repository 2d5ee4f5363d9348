#include "formula/Syntax.h"

#include "formula/Functions.h"
#include "formula/Limits.h"
#include "text/Utf8.h"

#include <algorithm>
#include <initializer_list>

namespace velloran::notes::formula {

namespace {

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    Program program() {
        Program statements;
        while (!atEnd()) {
            if (isSymbol(";")) {
                ++at_;
                continue;
            }
            statements.push_back(statement());
            if (!atEnd() && !isSymbol(";")) fail(current().position, "expected ';' before '" + describe(current()) + "'");
        }
        if (statements.empty()) fail(current().position, "the formula is empty");
        return statements;
    }

private:
    const Token& current() const { return tokens_[at_]; }
    const Token& next() const { return tokens_[at_ + 1 < tokens_.size() ? at_ + 1 : at_]; }
    bool atEnd() const { return current().kind == Token::Kind::End; }
    bool isSymbol(std::string_view symbol) const {
        return current().kind == Token::Kind::Symbol && current().text == symbol;
    }
    bool isKeyword(std::string_view keyword) const {
        return current().kind == Token::Kind::Name && text::equalsIgnoringCase(current().text, keyword);
    }
    static std::string describe(const Token& token) {
        return token.kind == Token::Kind::End ? "end of formula" : token.text;
    }
    void expect(std::string_view symbol) {
        if (!isSymbol(symbol)) fail(current().position, "expected '" + std::string(symbol) + "' but found '" + describe(current()) + "'");
        ++at_;
    }

    Statement statement() {
        if (isKeyword("SELECT")) return keywordStatement(Statement::Kind::Select);
        if (isKeyword("REM")) return keywordStatement(Statement::Kind::Remark);
        if (isKeyword("FIELD") || isKeyword("DEFAULT")) {
            auto kind = isKeyword("FIELD") ? Statement::Kind::Assign : Statement::Kind::Default;
            ++at_;
            if (current().kind != Token::Kind::Name) fail(current().position, "expected a field name");
            return assignment(kind);
        }
        if (current().kind == Token::Kind::Name && next().kind == Token::Kind::Symbol && next().text == ":=")
            return assignment(Statement::Kind::Assign);
        return {Statement::Kind::Expression, {}, expression()};
    }

    Statement keywordStatement(Statement::Kind kind) {
        ++at_;
        return {kind, {}, expression()};
    }

    Statement assignment(Statement::Kind kind) {
        std::string name = current().text;
        ++at_;
        expect(":=");
        return {kind, std::move(name), expression()};
    }

    static Node node(Node::Kind kind, std::size_t position) {
        Node made;
        made.kind = kind;
        made.position = position;
        return made;
    }

    // Counts one level of brackets, call or prefix sign for as long as it lives.
    class Nested {
    public:
        explicit Nested(Parser& parser) : parser_(parser) {
            if (++parser_.depth_ > kMaxNesting)
                fail(parser_.current().position, "the formula nests deeper than " + std::to_string(kMaxNesting) +
                                                     " levels of brackets, function calls or signs");
        }
        ~Nested() { --parser_.depth_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        Parser& parser_;
    };

    // operand (symbol operand)*, read in a loop into one Chain node.
    Node chain(std::initializer_list<std::string_view> symbols, Node (Parser::*operand)()) {
        Node first = (this->*operand)();
        if (!atSymbol(symbols)) return first;
        Node made = node(Node::Kind::Chain, first.position);
        made.children.push_back(std::move(first));
        while (atSymbol(symbols)) {
            made.operators.push_back({current().text, current().position});
            ++at_;
            made.children.push_back((this->*operand)());
        }
        return made;
    }
    bool atSymbol(std::initializer_list<std::string_view> symbols) const {
        return std::any_of(symbols.begin(), symbols.end(), [this](std::string_view symbol) { return isSymbol(symbol); });
    }

    Node expression() { return chain({"&", "|"}, &Parser::negation); }
    Node comparison() {
        return chain({"=", "!=", "<>", "<=", ">=", "<", ">", "*=", "*!=", "*<>", "*<=", "*>=", "*<", "*>"}, &Parser::sum);
    }
    Node sum() { return chain({"+", "-", "*+"}, &Parser::product); }
    Node product() { return chain({"*", "/"}, &Parser::unary); }
    Node list() { return chain({":"}, &Parser::element); }
    // A sign before an element takes the rest of the list with it (see
    // Syntax.h); the first element's sign is read by unary().
    Node element() { return isSymbol("-") || isSymbol("+") ? prefixed(&Parser::list) : primary(); }

    Node prefixed(Node (Parser::*operand)()) {
        Nested nested(*this);
        Node made = node(Node::Kind::Unary, current().position);
        made.text = current().text;
        ++at_;
        made.children.push_back((this->*operand)());
        return made;
    }
    Node negation() { return isSymbol("!") ? prefixed(&Parser::negation) : comparison(); }
    Node unary() { return isSymbol("-") || isSymbol("+") ? prefixed(&Parser::unary) : list(); }

    Node primary() {
        const Token& token = current();
        switch (token.kind) {
        case Token::Kind::Number: return literal(Node::Kind::Number);
        case Token::Kind::Text: return literal(Node::Kind::Text);
        case Token::Kind::Name: return literal(Node::Kind::Name);
        case Token::Kind::Function: return call();
        default: break;
        }
        if (isSymbol("(")) {
            Nested nested(*this);
            ++at_;
            Node inner = expression();
            expect(")");
            return inner;
        }
        fail(token.position, "expected a value but found '" + describe(token) + "'");
    }

    Node literal(Node::Kind kind) {
        Node made = node(kind, current().position);
        made.number = current().number;
        made.text = current().text;
        ++at_;
        return made;
    }

    Node call() {
        Node made = node(Node::Kind::Function, current().position);
        made.text = current().text;
        ++at_;
        if (isSymbol("(")) {
            Nested nested(*this);
            ++at_;
            if (!isSymbol(")")) {
                made.children.push_back(argument(made.text));
                while (isSymbol(";")) {
                    ++at_;
                    made.children.push_back(argument(made.text));
                }
            }
            expect(")");
        }
        checkCall(made);
        return made;
    }

    Node argument(const std::string& function) {
        if (current().kind == Token::Kind::Name && next().kind == Token::Kind::Symbol && next().text == ":=")
            return assignmentArgument(function);
        if (!isSymbol("[")) return expression();
        Node made = node(Node::Kind::Keyword, current().position);
        ++at_;
        if (current().kind != Token::Kind::Name) fail(current().position, "expected a keyword after '['");
        made.text = text::lower(current().text);
        ++at_;
        expect("]");
        return made;
    }

    Node assignmentArgument(const std::string& function) {
        if (function != "@do" && function != "@if") fail(current().position, function + " does not take an assignment");
        Node made = node(Node::Kind::Assign, current().position);
        made.text = current().text;
        at_ += 2;
        made.children.push_back(expression());
        return made;
    }

    static void checkCall(const Node& call) {
        const FunctionSignature* signature = findFunction(call.text);
        if (!signature) fail(call.position, "unknown function " + call.text);
        std::size_t count = call.children.size();
        if (count < static_cast<std::size_t>(signature->minArguments) ||
            (signature->maxArguments >= 0 && count > static_cast<std::size_t>(signature->maxArguments)))
            fail(call.position, call.text + " does not take " + std::to_string(count) + " argument(s)");
        for (const Node& argument : call.children)
            if (argument.kind == Node::Kind::Keyword && !acceptsKeyword(call.text, argument.text))
                fail(argument.position, call.text + " does not take the keyword [" + argument.text + "]");
    }

    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    std::size_t depth_ = 0;
};

}  // namespace

Program parse(const std::string& source) { return Parser(tokenize(source)).program(); }

}  // namespace velloran::notes::formula
