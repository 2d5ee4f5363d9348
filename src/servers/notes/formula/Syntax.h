#pragma once
// Tokens and syntax tree of the formula language.
//
//   program    := statement (";" statement)*
//   statement  := "SELECT" expr | "REM" expr | ["FIELD" | "DEFAULT"] name ":=" expr | expr
//   expr       := not (("&" | "|") not)*
//   not        := "!" not | comparison
//   comparison := sum (("=" | "!=" | "<>" | "<" | ">" | "<=" | ">=") sum)*
//   sum        := product (("+" | "-") product)*
//   product    := unary (("*" | "/") unary)*
//   unary      := ("-" | "+") unary | list
//   list       := primary (":" primary)*
//   primary    := number | text | name | @function ["(" argument (";" argument)* ")"] | "(" expr ")"
//   argument   := "[" name "]" | expr
//   %REM ... %END REM blocks are free text, read as blanks.
//
// Text literals are "..." (with \" and \\) or {...}. Names, keywords and
// @functions ignore letter case. A keyword in brackets, as in @Name([CN]; x),
// is only an argument of a function that accepts that keyword.
//
// A run of operators of one level is one Chain node holding all its operands,
// so the tree is only as deep as the formula's nesting, which the parser
// limits; long runs like 1+1+...+1 cost no depth.
#include "store/EngineError.h"

#include <cstddef>
#include <string>
#include <vector>

namespace velloran::notes::formula {

// An error in a formula; the message gives the 1-based character position.
[[noreturn]] void fail(std::size_t position, const std::string& message);

struct Token {
    enum class Kind { Number, Text, Name, Function, Symbol, End };
    Kind kind = Kind::End;
    std::string text;     // text literal, name, function name (lower case, with "@"), symbol
    double number = 0;
    std::size_t position = 0;  // 1-based character position
};

std::vector<Token> tokenize(const std::string& source);

struct Operator {
    std::string symbol;
    std::size_t position = 0;
};

struct Node {
    enum class Kind { Number, Text, Name, Function, Unary, Chain, Keyword };
    Kind kind = Kind::Number;
    std::size_t position = 0;
    double number = 0;
    std::string text;  // text literal, name, function name, prefix operator or keyword (lower case)
    std::vector<Node> children;
    // Chain: operators[i] stands between children[i] and children[i + 1];
    // all of one level, applied from left to right.
    std::vector<Operator> operators;
};

struct Statement {
    enum class Kind { Expression, Select, Assign, Default, Remark };
    Kind kind = Kind::Expression;
    std::string name;  // the variable of an assignment
    Node expression;
};

using Program = std::vector<Statement>;

// Throws EngineError with the position of the first error.
Program parse(const std::string& source);

}  // namespace velloran::notes::formula
