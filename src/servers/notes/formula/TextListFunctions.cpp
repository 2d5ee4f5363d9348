// @Middle, @Replace, @Select, @Matches, @Like and @Sort.
#include "formula/Arguments.h"
#include "formula/FunctionFamilies.h"
#include "formula/Operators.h"
#include "formula/Patterns.h"
#include "formula/Ranges.h"
#include "formula/TextSearch.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <unordered_map>

namespace velloran::notes::formula {

namespace {

// Where the piece of @Middle starts: after `offset` characters, or after
// the first occurrence of a marker text; npos when the marker is missing.
std::size_t middleStart(const std::string& value, const Value& from, const Node& call) {
    if (auto* offset = std::get_if<double>(&from))
        return characterStart(value, clampedCount(*offset, text::characterCount(value), call.position, call.text));
    const std::string& marker = std::get<std::string>(from);
    std::size_t at = findText(value, marker);
    return at == std::string::npos ? at : at + marker.size();
}

// @Middle(text; offset or marker; count or end marker): `count` characters
// from the start (a negative count: that many before it), or what stands
// between the start and the next end marker ("" without one).
std::string middlePart(const std::string& value, const Value& from, const Value& to, const Node& call) {
    std::size_t start = middleStart(value, from, call);
    if (start == std::string::npos) return {};
    if (auto* marker = std::get_if<std::string>(&to)) {
        std::size_t end = findText(std::string_view(value).substr(start), *marker);
        return end == std::string::npos ? std::string() : value.substr(start, end);
    }
    double count = std::get<double>(to);
    std::size_t before = text::characterCount(std::string_view(value).substr(0, start));
    if (count < 0) {
        std::size_t back = clampedCount(-count, before, call.position, call.text);
        std::size_t first = characterStart(value, before - back);
        return value.substr(first, start - first);
    }
    std::size_t keep = clampedCount(count, text::characterCount(value) - before, call.position, call.text);
    return value.substr(start, characterStart(value, before + keep) - start);
}

Value numberOrText(Evaluator& ev, const Node& call, std::size_t index) {
    Value value = argument(ev, call, index).front();
    if (std::holds_alternative<DateTime>(value)) fail(call.children[index].position, call.text + " needs a number or a text here");
    return value;
}

ValueList middle(Evaluator& ev, const Node& call) {
    Value from = numberOrText(ev, call, 1), to = numberOrText(ev, call, 2);
    return eachText(ev, call, [&](const std::string& value) { return middlePart(value, from, to, call); });
}

// @Replace(list; from; to): each value of the list found in `from` becomes
// the value of `to` in the same place, or "" when `to` is shorter.
ValueList replace(Evaluator& ev, const Node& call) {
    std::vector<std::string> from = textArgument(ev, call, 1), to = textArgument(ev, call, 2);
    std::unordered_map<std::string_view, std::size_t> places;
    for (std::size_t i = 0; i < from.size(); ++i) places.emplace(from[i], i);
    return eachText(ev, call, [&](const std::string& value) {
        auto found = places.find(value);
        if (found == places.end()) return value;
        return found->second < to.size() ? to[found->second] : std::string();
    });
}

// @Select(n; first; second; ...): the n-th of the values that follow (the
// last one when there are fewer); only that one is evaluated.
ValueList select(Evaluator& ev, const Node& call) {
    double wanted = numberArgument(ev, call, 0);
    std::size_t choice = clampedCount(wanted, call.children.size() - 1, call.position, call.text);
    if (choice == 0) fail(call.children[0].position, "@Select needs a choice of 1 or more");
    return argument(ev, call, choice);
}

// True when any text of the first argument fits the pattern.
ValueList anyFits(Evaluator& ev, const Node& call, const Pattern& pattern) {
    for (const std::string& value : textArgument(ev, call, 0))
        if (pattern.fits(value, ev.budget(), call.position)) return boolean(true);
    return boolean(false);
}

ValueList matches(Evaluator& ev, const Node& call) {
    return anyFits(ev, call, Pattern::matches(textArgument(ev, call, 1).front(), call.position));
}

ValueList like(Evaluator& ev, const Node& call) {
    std::string escape = call.children.size() > 2 ? textArgument(ev, call, 2).front() : "";
    return anyFits(ev, call, Pattern::like(textArgument(ev, call, 1).front(), escape, call.position));
}

// Numbers before date-times before texts; NaN after every other number.
// Texts compare by `keys` (their lower-case forms) when those are given.
bool sortsBefore(const ValueList& values, const std::vector<std::string>& keys, std::size_t i, std::size_t j) {
    const Value &a = values[i], &b = values[j];
    if (a.index() != b.index()) return a.index() == 1 || (a.index() == 2 && b.index() == 0);
    if (auto* x = std::get_if<double>(&a)) {
        double y = std::get<double>(b);
        return !std::isnan(*x) && (std::isnan(y) || *x < y);
    }
    if (auto* s = std::get_if<std::string>(&a)) return keys.empty() ? *s < std::get<std::string>(b) : keys[i] < keys[j];
    return std::get<DateTime>(a).msecsSinceEpoch < std::get<DateTime>(b).msecsSinceEpoch;
}

// @Sort(list [; [Ascending] | [Descending] ; [CaseSensitive] |
// [CaseInsensitive]]): ascending and letter case counting by default.
ValueList sort(Evaluator& ev, const Node& call) {
    bool descending = false, ignoreCase = false;
    for (std::size_t i = 1; i < call.children.size(); ++i) {
        const Node& keyword = call.children[i];
        if (keyword.kind != Node::Kind::Keyword) fail(keyword.position, "@Sort takes only keywords after its list");
        if (keyword.text == "descending" || keyword.text == "ascending") descending = keyword.text == "descending";
        else ignoreCase = keyword.text == "caseinsensitive";
    }
    ValueList values = argument(ev, call, 0);
    // A value takes part in a comparison or two at each of the sort's
    // log2(n) levels, and each comparison may read its text.
    ev.budget().spend(bytesOf(values), std::bit_width(values.size()), call.position);
    // Each text is folded once, not at every comparison.
    std::vector<std::string> keys;
    if (ignoreCase) {
        ev.budget().spend(bytesOf(values), call.position);
        for (const Value& value : values) keys.push_back(std::holds_alternative<std::string>(value) ? text::lower(std::get<std::string>(value)) : "");
    }
    std::vector<std::size_t> order(values.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) {
        return descending ? sortsBefore(values, keys, j, i) : sortsBefore(values, keys, i, j);
    });
    ValueList sorted;
    sorted.reserve(values.size());
    for (std::size_t i : order) sorted.push_back(std::move(values[i]));
    return sorted;
}

constexpr auto kTextListFunctions = std::to_array<FunctionSignature>({
    {"@middle", 3, 3, middle},
    {"@replace", 3, 3, replace},
    {"@select", 2, -1, select},
    {"@matches", 2, 2, matches},
    {"@like", 2, 3, like},
    {"@sort", 1, 3, sort},
});

}  // namespace

std::span<const FunctionSignature> textListFunctions() { return kTextListFunctions; }

bool isSortKeyword(std::string_view keyword) {
    return keyword == "ascending" || keyword == "descending" || keyword == "casesensitive" || keyword == "caseinsensitive";
}

}  // namespace velloran::notes::formula
