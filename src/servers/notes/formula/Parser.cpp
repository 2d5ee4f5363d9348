#include "formula/Syntax.h"

#include "formula/Functions.h"
#include "text/Utf8.h"

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

    Node binary(const Token& op, Node left, Node right) {
        Node node{Node::Kind::Binary, op.position, 0, op.text, {}};
        node.children.push_back(std::move(left));
        node.children.push_back(std::move(right));
        return node;
    }

    template <typename Next>
    Node leftAssociative(std::initializer_list<std::string_view> symbols, Next operand) {
        Node left = (this->*operand)();
        while (true) {
            bool matched = false;
            for (std::string_view symbol : symbols) matched = matched || isSymbol(symbol);
            if (!matched) return left;
            Token op = current();
            ++at_;
            left = binary(op, std::move(left), (this->*operand)());
        }
    }

    Node expression() { return leftAssociative({"&", "|"}, &Parser::negation); }
    Node comparison() { return leftAssociative({"=", "!=", "<>", "<=", ">=", "<", ">"}, &Parser::sum); }
    Node sum() { return leftAssociative({"+", "-"}, &Parser::product); }
    Node product() { return leftAssociative({"*", "/"}, &Parser::unary); }
    Node list() { return leftAssociative({":"}, &Parser::primary); }

    Node prefixed(Node (Parser::*operand)()) {
        Node node{Node::Kind::Unary, current().position, 0, current().text, {}};
        ++at_;
        node.children.push_back((this->*operand)());
        return node;
    }
    Node negation() { return isSymbol("!") ? prefixed(&Parser::negation) : comparison(); }
    Node unary() { return isSymbol("-") || isSymbol("+") ? prefixed(&Parser::unary) : list(); }

    Node primary() {
        const Token token = current();
        switch (token.kind) {
        case Token::Kind::Number: ++at_; return {Node::Kind::Number, token.position, token.number, {}, {}};
        case Token::Kind::Text: ++at_; return {Node::Kind::Text, token.position, 0, token.text, {}};
        case Token::Kind::Name: ++at_; return {Node::Kind::Name, token.position, 0, token.text, {}};
        case Token::Kind::Function: return call();
        default: break;
        }
        if (isSymbol("(")) {
            ++at_;
            Node inner = expression();
            expect(")");
            return inner;
        }
        fail(token.position, "expected a value but found '" + describe(token) + "'");
    }

    Node call() {
        const Token token = current();
        ++at_;
        Node node{Node::Kind::Function, token.position, 0, token.text, {}};
        if (isSymbol("(")) {
            ++at_;
            if (!isSymbol(")")) {
                node.children.push_back(expression());
                while (isSymbol(";")) {
                    ++at_;
                    node.children.push_back(expression());
                }
            }
            expect(")");
        }
        checkCall(node);
        return node;
    }

    static void checkCall(const Node& node) {
        const FunctionSignature* signature = findFunction(node.text);
        if (!signature) fail(node.position, "unknown function " + node.text);
        int count = static_cast<int>(node.children.size());
        if (count < signature->minArguments || (signature->maxArguments >= 0 && count > signature->maxArguments))
            fail(node.position, node.text + " does not take " + std::to_string(count) + " argument(s)");
    }

    std::vector<Token> tokens_;
    std::size_t at_ = 0;
};

}  // namespace

Program parse(const std::string& source) { return Parser(tokenize(source)).program(); }

}  // namespace velloran::notes::formula
