#include "formula/Evaluator.h"

#include "formula/Functions.h"
#include "formula/Operators.h"
#include "text/Utf8.h"

namespace velloran::notes::formula {

void failValue(std::size_t position, const std::string& message) {
    throw engineFailure(Failure::Kind::FormulaValue, msg::kFormula, {std::to_string(position), message});
}

ValueList Evaluator::run(const Program& program) {
    ValueList result{std::string()};
    for (const Statement& statement : program) {
        switch (statement.kind) {
        case Statement::Kind::Remark: break;
        case Statement::Kind::Assign: assign(statement.name, statement.expression); break;
        case Statement::Kind::Default:
            if (!lookup(statement.name)) assign(statement.name, statement.expression);
            break;
        case Statement::Kind::Select:
        case Statement::Kind::Expression: result = evaluate(statement.expression); break;
        }
    }
    return result;
}

void Evaluator::assign(const std::string& name, const Node& expression) {
    try {
        variables_.insert_or_assign(text::lower(name), evaluate(expression));
    } catch (const Failure& error) {
        if (!error.is(Failure::Kind::FormulaValue)) throw;
        variables_.insert_or_assign(text::lower(name), error);
    }
}

std::optional<ValueList> Evaluator::lookup(const std::string& name) {
    auto it = variables_.find(text::lower(name));
    if (it == variables_.end()) return context_.item(name);
    if (auto* error = std::get_if<Failure>(&it->second)) throw *error;
    return std::get<ValueList>(it->second);
}

// Recursion here follows the tree's depth only, which the parser limits;
// the operands of a chain are visited in a loop.
ValueList Evaluator::evaluate(const Node& node) {
    ValueList result;
    switch (node.kind) {
    case Node::Kind::Number: result = {node.number}; break;
    case Node::Kind::Text: result = {node.text}; break;
    case Node::Kind::Name: result = lookup(node.text).value_or(ValueList{std::string()}); break;
    case Node::Kind::Function: result = findFunction(node.text)->run(*this, node); break;
    case Node::Kind::Unary: result = applyUnary(node.text, evaluate(node.children[0]), node.position); break;
    case Node::Kind::Chain: result = chain(node); break;
    case Node::Kind::Keyword: fail(node.position, "the keyword [" + node.text + "] has no value of its own");
    // An assignment inside @Do or @If gives the value it assigns; an error
    // value stays in the variable, for @IsError to find there.
    case Node::Kind::Assign: {
        assign(node.text, node.children[0]);
        if (auto* values = std::get_if<ValueList>(&variables_.at(text::lower(node.text)))) result = *values;
        break;
    }
    }
    if (result.empty()) result.emplace_back(std::string());
    budget_.spend(bytesOf(result), node.position);
    return result;
}

ValueList Evaluator::chain(const Node& node) {
    const std::string& first = node.operators.front().symbol;
    if (first == "&" || first == "|") return logicalChain(node);
    ValueList result = evaluate(node.children[0]);
    for (std::size_t i = 0; i < node.operators.size(); ++i) {
        const Operator& op = node.operators[i];
        result = applyBinary(op.symbol, std::move(result), evaluate(node.children[i + 1]), op.position, budget_);
    }
    return result;
}

// "&" and "|" look at their right side only when the left one leaves the
// answer open, so "@IsAvailable(x) & x > 1" is safe where x is missing.
ValueList Evaluator::logicalChain(const Node& node) {
    bool value = truth(evaluate(node.children[0]), node.children[0].position);
    for (std::size_t i = 0; i < node.operators.size(); ++i) {
        bool decided = node.operators[i].symbol == "&" ? !value : value;
        const Node& right = node.children[i + 1];
        if (!decided) value = truth(evaluate(right), right.position);
    }
    return boolean(value);
}

bool Formula::selects(Context& context) const {
    ValueList result = evaluate(context);
    auto* number = std::get_if<double>(&result.front());
    return number && *number != 0;
}

}  // namespace velloran::notes::formula
