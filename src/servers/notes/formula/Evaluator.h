#pragma once
// Runs a parsed formula against a context.
#include "formula/Context.h"
#include "formula/ErrorValue.h"
#include "formula/Limits.h"
#include "formula/Syntax.h"

#include <map>
#include <variant>

namespace velloran::notes::formula {

class Evaluator {
public:
    explicit Evaluator(Context& context) : context_(context) {}

    // The value of the last statement that has one (SELECT included).
    ValueList run(const Program& program);
    // Never empty: an empty result reads as one empty text.
    ValueList evaluate(const Node& node);
    Context& context() { return context_; }
    // A variable assigned earlier in the formula, else the item.
    std::optional<ValueList> lookup(const std::string& name);
    // What this evaluation may still make; functions pay for large results
    // before they build them.
    Budget& budget() { return budget_; }

private:
    ValueList chain(const Node& node);
    ValueList logicalChain(const Node& node);
    // Keeps the value of `expression` in the variable, or the error value
    // it ends in, which a later use of the variable then raises.
    void assign(const std::string& name, const Node& expression);

    Context& context_;
    Budget budget_;
    std::map<std::string, std::variant<ValueList, Failure>> variables_;  // by lower-case name
};

// A formula parsed once and evaluated for many documents.
class Formula {
public:
    explicit Formula(const std::string& source) : program_(parse(source)) {}
    ValueList evaluate(Context& context) const { return Evaluator(context).run(program_); }
    // True when the result's first value is a non-zero number.
    bool selects(Context& context) const;

private:
    Program program_;
};

}  // namespace velloran::notes::formula
