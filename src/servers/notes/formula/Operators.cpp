#include "formula/Operators.h"

#include "formula/Ranges.h"
#include "formula/Syntax.h"

#include <algorithm>
#include <compare>

namespace velloran::notes::formula {

namespace {

const char* typeName(const Value& value) {
    if (std::holds_alternative<std::string>(value)) return "text";
    if (std::holds_alternative<double>(value)) return "number";
    return "date-time";
}

[[noreturn]] void typeError(const std::string& op, const Value& a, const Value& b, std::size_t position) {
    fail(position, std::string("operator ") + op + " cannot combine " + typeName(a) + " with " + typeName(b));
}

// `a` becomes a op b.
void combineInto(const std::string& op, Value& a, const Value& b, std::size_t position, Budget& budget) {
    auto* x = std::get_if<double>(&a);
    auto* y = std::get_if<double>(&b);
    if (x && y) {
        if (op == "+") *x += *y;
        else if (op == "-") *x -= *y;
        else if (op == "*") *x *= *y;
        else if (*y == 0) fail(position, "division by zero");
        else *x /= *y;
        return;
    }
    auto* s = std::get_if<std::string>(&a);
    auto* t = std::get_if<std::string>(&b);
    if (s && t && op == "+") {
        budget.spend(t->size(), position);
        *s += *t;
        return;
    }
    auto* d = std::get_if<DateTime>(&a);
    auto* e = std::get_if<DateTime>(&b);
    if (d && y && (op == "+" || op == "-")) *d = shiftedBy(*d, op == "+" ? *y : -*y, position);
    else if (d && e && op == "-") a = secondsBetween(*d, *e, position);
    else if (x && e && op == "+") a = shiftedBy(*e, *x, position);
    else typeError(op, a, b, position);
}

// The shorter list repeats its last value: `values` grows to `count` with
// copies of it, each paid for before it is made.
void extendTo(ValueList& values, std::size_t count, std::size_t position, Budget& budget) {
    if (values.size() >= count) return;
    values.reserve(count);
    while (values.size() < count) {
        budget.spend(bytesOf(values.back()), position);
        values.push_back(values.back());
    }
}

std::partial_ordering order(const Value& a, const Value& b, const std::string& op, std::size_t position) {
    if (a.index() != b.index()) typeError(op, a, b, position);
    if (auto* s = std::get_if<std::string>(&a)) return *s <=> std::get<std::string>(b);
    if (auto* x = std::get_if<double>(&a)) return *x <=> std::get<double>(b);
    return std::get<DateTime>(a).msecsSinceEpoch <=> std::get<DateTime>(b).msecsSinceEpoch;
}

bool compares(const std::string& op, std::partial_ordering o) {
    if (op == "=") return o == 0;
    if (op == "!=" || op == "<>") return o != 0;
    if (op == "<") return o < 0;
    if (op == ">") return o > 0;
    if (op == "<=") return o <= 0;
    return o >= 0;
}

// What comparing two values may read: a slot each, and the shorter text.
std::size_t comparedBytes(const Value& a, const Value& b) {
    auto* s = std::get_if<std::string>(&a);
    auto* t = std::get_if<std::string>(&b);
    return sizeof(Value) + (s && t ? std::min(s->size(), t->size()) : 0);
}

template <typename Combine>
void pairwise(const ValueList& left, const ValueList& right, Combine combine) {
    std::size_t count = std::max(left.size(), right.size());
    for (std::size_t i = 0; i < count; ++i)
        combine(left[std::min(i, left.size() - 1)], right[std::min(i, right.size() - 1)]);
}

// a *+ b: every value of `left` with every value of `right`, the left
// list's first value with all of the right list first.
ValueList permutedSum(const ValueList& left, const ValueList& right, std::size_t position, Budget& budget) {
    ValueList out;
    for (const Value& a : left)
        for (const Value& b : right) {
            Value sum = a;
            budget.spend(bytesOf(a) + bytesOf(b), position);
            combineInto("+", sum, b, position, budget);
            out.push_back(std::move(sum));
        }
    return out;
}

// a *= b and the other permuted comparisons (`op` with its "*"): true when any value of `left`
// compares so with any value of `right`. Every pair compared is paid for,
// with the bytes of text it may read.
bool anyPermutedPair(const std::string& op, const ValueList& left, const ValueList& right, std::size_t position,
                     Budget& budget) {
    for (const Value& a : left)
        for (const Value& b : right) {
            budget.spend(comparedBytes(a, b), position);
            if (compares(op.substr(1), order(a, b, op, position))) return true;
        }
    return false;
}

}  // namespace

ValueList boolean(bool value) { return {value ? 1.0 : 0.0}; }

bool truth(const ValueList& values, std::size_t position) {
    auto* number = values.empty() ? nullptr : std::get_if<double>(&values.front());
    if (!number) fail(position, "a condition must give a number (1 true, 0 false)");
    return *number != 0;
}

ValueList applyBinary(const std::string& op, ValueList left, const ValueList& right, std::size_t position, Budget& budget) {
    if (op == ":") {
        left.insert(left.end(), right.begin(), right.end());
        return left;
    }
    if (op == "*+") return permutedSum(left, right, position, budget);
    if (op.size() > 1 && op.front() == '*') return boolean(anyPermutedPair(op, left, right, position, budget));
    if (op == "+" || op == "-" || op == "*" || op == "/") {
        extendTo(left, right.size(), position, budget);
        for (std::size_t i = 0; i < left.size(); ++i)
            combineInto(op, left[i], right[std::min(i, right.size() - 1)], position, budget);
        return left;
    }
    bool any = false;
    pairwise(left, right, [&](const Value& a, const Value& b) { any = any || compares(op, order(a, b, op, position)); });
    return boolean(any);
}

ValueList applyUnary(const std::string& op, const ValueList& operand, std::size_t position) {
    if (op == "!") return boolean(!truth(operand, position));
    ValueList result;
    for (const Value& value : operand) {
        auto* number = std::get_if<double>(&value);
        if (!number) fail(position, "operator " + op + " needs a number");
        result.push_back(op == "-" ? -*number : *number);
    }
    return result;
}

}  // namespace velloran::notes::formula
