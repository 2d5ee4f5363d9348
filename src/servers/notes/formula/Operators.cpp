#include "formula/Operators.h"

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

DateTime shifted(const DateTime& moment, double seconds) {
    return {moment.msecsSinceEpoch + static_cast<std::int64_t>(seconds * 1000), moment.hasTime};
}

Value arithmetic(const std::string& op, const Value& a, const Value& b, std::size_t position) {
    auto* x = std::get_if<double>(&a);
    auto* y = std::get_if<double>(&b);
    if (x && y) {
        if (op == "+") return *x + *y;
        if (op == "-") return *x - *y;
        if (op == "*") return *x * *y;
        if (*y == 0) fail(position, "division by zero");
        return *x / *y;
    }
    auto* s = std::get_if<std::string>(&a);
    auto* t = std::get_if<std::string>(&b);
    if (s && t && op == "+") return *s + *t;
    auto* d = std::get_if<DateTime>(&a);
    if (d && y && (op == "+" || op == "-")) return shifted(*d, op == "+" ? *y : -*y);
    auto* e = std::get_if<DateTime>(&b);
    if (d && e && op == "-") return (d->msecsSinceEpoch - e->msecsSinceEpoch) / 1000.0;
    if (x && e && op == "+") return shifted(*e, *x);
    typeError(op, a, b, position);
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

template <typename Combine>
void pairwise(const ValueList& left, const ValueList& right, Combine combine) {
    std::size_t count = std::max(left.size(), right.size());
    for (std::size_t i = 0; i < count; ++i)
        combine(left[std::min(i, left.size() - 1)], right[std::min(i, right.size() - 1)]);
}

}  // namespace

ValueList boolean(bool value) { return {value ? 1.0 : 0.0}; }

bool truth(const ValueList& values, std::size_t position) {
    auto* number = values.empty() ? nullptr : std::get_if<double>(&values.front());
    if (!number) fail(position, "a condition must give a number (1 true, 0 false)");
    return *number != 0;
}

ValueList applyBinary(const std::string& op, const ValueList& left, const ValueList& right, std::size_t position) {
    if (op == ":") {
        ValueList joined = left;
        joined.insert(joined.end(), right.begin(), right.end());
        return joined;
    }
    if (op == "+" || op == "-" || op == "*" || op == "/") {
        ValueList result;
        pairwise(left, right, [&](const Value& a, const Value& b) { result.push_back(arithmetic(op, a, b, position)); });
        return result;
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
