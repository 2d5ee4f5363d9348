#pragma once
// Tokens and syntax tree of the formula language.
//
//   program    := statement (";" statement)*
//   statement  := "SELECT" expr | "REM" expr | ["FIELD" | "DEFAULT"] name ":=" expr | expr
//   expr       := not (("&" | "|") not)*
//   not        := "!" not | comparison
//   comparison := sum (("=" | "!=" | "<>" | "<" | ">" | "<=" | ">=") sum)*
//                 each comparison also permuted: "*=" "*<>" "*!=" "*<" "*>" "*<=" "*>="
//   sum        := product (("+" | "-" | "*+") product)*
//   product    := unary (("*" | "/") unary)*
//   unary      := ("-" | "+") unary | list
//   list       := primary (":" element)*
//   element    := ("-" | "+") list | primary
//   primary    := number | text | name | @function ["(" argument (";" argument)* ")"] | "(" expr ")"
//   argument   := "[" name "]" | name ":=" expr | expr
//
// The list operator binds tighter than a sign, so -1:2 is -(1:2), and a
// sign inside a list takes the rest of it: 1:-2:3 is 1:(-(2:3)). An
// assignment as an argument is allowed in @Do and @If only.
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
    enum class Kind { Number, Text, Name, Function, Unary, Chain, Keyword, Assign };
    Kind kind = Kind::Number;
    std::size_t position = 0;
    double number = 0;
    // text literal, name, function name, prefix operator, keyword (lower
    // case) or the variable an Assign node gives the value of its child
    std::string text;
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

// Throws a Failure with the position of the first error.
Program parse(const std::string& source);

}  // namespace velloran::notes::formula
