#include "formula/Functions.h"

#include "formula/Arguments.h"
#include "formula/Evaluator.h"
#include "formula/FunctionFamilies.h"
#include "formula/Names.h"
#include "formula/Operators.h"
#include "formula/Ranges.h"
#include "formula/TextSearch.h"
#include "formula/ValueSet.h"
#include "text/Utf8.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <cstdio>

namespace velloran::notes::formula {

namespace {

// Any pair (a from the first list, b from the second) satisfies `test`.
// Every pair tested is paid for, so long lists on both sides end in an error
// rather than in hours of comparing.
template <typename Test>
ValueList anyTextPair(Evaluator& ev, const Node& call, Test test) {
    std::vector<std::string> left = textArgument(ev, call, 0), right = textArgument(ev, call, 1);
    for (const std::string& a : left)
        for (const std::string& b : right) {
            ev.budget().spend(sizeof(Value) + a.size() + b.size(), call.position);
            if (test(a, b)) return boolean(true);
        }
    return boolean(false);
}

bool containsText(const std::string& text, const std::string& part) { return findText(text, part) != std::string::npos; }

std::string leftPart(const std::string& value, const Value& how, const Node& call) {
    if (auto* count = std::get_if<double>(&how)) {
        std::size_t keep = clampedCount(*count, text::characterCount(value), call.position, call.text);
        return keep == 0 ? std::string() : value.substr(0, characterStart(value, keep));
    }
    std::size_t at = findText(value, std::get<std::string>(how));
    return at == std::string::npos ? std::string() : value.substr(0, at);
}

std::string rightPart(const std::string& value, const Value& how, const Node& call) {
    if (auto* count = std::get_if<double>(&how)) {
        std::size_t length = text::characterCount(value);
        std::size_t keep = clampedCount(*count, length, call.position, call.text);
        return keep == length ? value : value.substr(characterStart(value, length - keep));
    }
    const std::string& marker = std::get<std::string>(how);
    std::size_t at = findText(value, marker);
    return at == std::string::npos ? std::string() : value.substr(at + marker.size());
}

// All but the last `count` characters, or what stands before the marker's
// last occurrence.
std::string leftBackPart(const std::string& value, const Value& how, const Node& call) {
    if (auto* count = std::get_if<double>(&how)) {
        std::size_t length = text::characterCount(value);
        std::size_t drop = clampedCount(*count, length, call.position, call.text);
        return value.substr(0, characterStart(value, length - drop));
    }
    std::size_t at = findLastText(value, std::get<std::string>(how));
    return at == std::string::npos ? std::string() : value.substr(0, at);
}

// All but the first `count` characters, or what follows the marker's last
// occurrence.
std::string rightBackPart(const std::string& value, const Value& how, const Node& call) {
    if (auto* count = std::get_if<double>(&how))
        return value.substr(characterStart(value, clampedCount(*count, text::characterCount(value), call.position, call.text)));
    const std::string& marker = std::get<std::string>(how);
    std::size_t at = findLastText(value, marker);
    return at == std::string::npos ? std::string() : value.substr(at + marker.size());
}

template <std::string (*Part)(const std::string&, const Value&, const Node&)>
ValueList substring(Evaluator& ev, const Node& call) {
    std::vector<std::string> values = textArgument(ev, call, 0);
    ValueList how = argument(ev, call, 1);
    if (std::holds_alternative<DateTime>(how.front())) fail(call.position, call.text + " needs a number or a text");
    for (std::string& value : values) value = Part(value, how.front(), call);
    return fromTexts(values);
}

std::string collapsedSpaces(const std::string& value) {
    std::string out;
    for (char c : text::trimmed(value))
        if (!(c == ' ' && !out.empty() && out.back() == ' ')) out += c;
    return out;
}

std::string properCase(const std::string& value) {
    std::string out = text::lower(value);
    bool start = true;
    for (char& c : out) {
        if (start && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        start = c == ' ';
    }
    return out;
}

ValueList ifThen(Evaluator& ev, const Node& call) {
    std::size_t count = call.children.size();
    if (count % 2 == 0) fail(call.position, "@If needs condition; value pairs and a final value");
    for (std::size_t i = 0; i + 1 < count; i += 2)
        if (truth(argument(ev, call, i), call.children[i].position)) return argument(ev, call, i + 1);
    return argument(ev, call, count - 1);
}

ValueList available(Evaluator& ev, const Node& call, bool wanted) {
    const Node& name = call.children[0];
    if (name.kind != Node::Kind::Name) fail(name.position, call.text + " needs a field name");
    return boolean(ev.lookup(name.text).has_value() == wanted);
}

ValueList elements(Evaluator& ev, const Node& call) {
    ValueList values = argument(ev, call, 0);
    bool empty = values.size() == 1 && std::get_if<std::string>(&values[0]) && std::get<std::string>(values[0]).empty();
    return {empty ? 0.0 : static_cast<double>(values.size())};
}

ValueList subset(Evaluator& ev, const Node& call) {
    ValueList values = argument(ev, call, 0);
    double count = numberArgument(ev, call, 1);
    if (count == 0) fail(call.position, "@Subset needs a count other than 0");
    std::size_t keep = clampedCount(std::fabs(count), values.size(), call.position, call.text);
    return count > 0 ? ValueList(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(keep))
                     : ValueList(values.end() - static_cast<std::ptrdiff_t>(keep), values.end());
}

ValueList implode(Evaluator& ev, const Node& call) {
    std::vector<std::string> values = textArgument(ev, call, 0);
    std::string separator = call.children.size() > 1 ? textArgument(ev, call, 1).front() : " ";
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        ev.budget().spend((i ? separator.size() : 0) + values[i].size(), call.position);
        if (i) out += separator;
        out += values[i];
    }
    return {out};
}

// Each byte of the separators argument separates; a table of them keeps the
// split linear in the texts however many separators there are.
ValueList explode(Evaluator& ev, const Node& call) {
    std::string separators = call.children.size() > 1 ? textArgument(ev, call, 1).front() : " ,;";
    std::bitset<256> separates;
    for (char c : separators) separates.set(static_cast<unsigned char>(c));
    std::vector<std::string> out;
    for (const std::string& value : textArgument(ev, call, 0)) {
        std::size_t start = 0;
        for (std::size_t at = 0; at <= value.size(); ++at) {
            if (at < value.size() && !separates.test(static_cast<unsigned char>(value[at]))) continue;
            if (at > start) {
                ev.budget().spend(sizeof(Value) + at - start, call.position);
                out.push_back(value.substr(start, at - start));
            }
            start = at + 1;
        }
    }
    return fromTexts(out);
}

ValueList member(Evaluator& ev, const Node& call) {
    ValueList wanted = argument(ev, call, 0), list = argument(ev, call, 1);
    auto it = std::find(list.begin(), list.end(), wanted.front());
    return {it == list.end() ? 0.0 : static_cast<double>(it - list.begin() + 1)};
}

ValueList isMember(Evaluator& ev, const Node& call) {
    ValueList wanted = argument(ev, call, 0), list = argument(ev, call, 1);
    ValueSet listed;
    for (const Value& value : list) listed.insert(value);
    return boolean(std::all_of(wanted.begin(), wanted.end(), [&](const Value& v) { return listed.contains(v); }));
}

ValueList sum(Evaluator& ev, const Node& call) {
    double total = 0;
    for (std::size_t i = 0; i < call.children.size(); ++i)
        for (const Value& value : argument(ev, call, i)) {
            auto* number = std::get_if<double>(&value);
            if (!number) fail(call.children[i].position, "@Sum needs numbers");
            total += *number;
        }
    return {total};
}

ValueList unique(Evaluator& ev, const Node& call) {
    ValueList values = argument(ev, call, 0), out;
    ValueSet seen;
    for (const Value& value : values)
        if (seen.insert(value)) out.push_back(value);
    return out;
}

template <typename T>
ValueList isKind(Evaluator& ev, const Node& call) {
    return boolean(std::holds_alternative<T>(argument(ev, call, 0).front()));
}

ValueList attachmentNames(Evaluator& ev, const Node&) {
    std::vector<std::string> names;
    for (const store::StoredObject& object : ev.context().attachments()) names.push_back(object.name);
    return fromTexts(names);
}

ValueList attachmentLengths(Evaluator& ev, const Node&) {
    ValueList sizes;
    for (const store::StoredObject& object : ev.context().attachments()) sizes.emplace_back(std::in_place_type<double>, static_cast<double>(object.size));
    if (sizes.empty()) sizes.emplace_back(std::in_place_type<double>, 0.0);
    return sizes;
}

ValueList noteId(Evaluator& ev, const Node& call) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "NT%08llX", static_cast<unsigned long long>(requireNote(ev, call).noteId));
    return {std::string(buffer)};
}

constexpr auto kFunctions = std::to_array<FunctionSignature>({
    {"@all", 0, 0, [](Evaluator&, const Node&) { return boolean(true); }},
    {"@true", 0, 0, [](Evaluator&, const Node&) { return boolean(true); }},
    {"@yes", 0, 0, [](Evaluator&, const Node&) { return boolean(true); }},
    {"@false", 0, 0, [](Evaluator&, const Node&) { return boolean(false); }},
    {"@no", 0, 0, [](Evaluator&, const Node&) { return boolean(false); }},
    {"@attachmentnames", 0, 0, attachmentNames},
    {"@attachments", 0, 0,
     [](Evaluator& ev, const Node&) { return ValueList{static_cast<double>(ev.context().attachments().size())}; }},
    {"@attachmentlengths", 0, 0, attachmentLengths},
    {"@created", 0, 0,
     [](Evaluator& ev, const Node& call) { return ValueList{DateTime{requireNote(ev, call).created, true}}; }},
    {"@modified", 0, 0,
     [](Evaluator& ev, const Node& call) { return ValueList{DateTime{requireNote(ev, call).modified, true}}; }},
    {"@documentuniqueid", 0, 0, [](Evaluator& ev, const Node& call) { return ValueList{requireNote(ev, call).unid}; }},
    {"@noteid", 0, 0, noteId},
    {"@if", 3, -1, ifThen},
    {"@uppercase", 1, 1, [](Evaluator& ev, const Node& call) { return eachText(ev, call, text::upper); }},
    {"@lowercase", 1, 1, [](Evaluator& ev, const Node& call) { return eachText(ev, call, text::lower); }},
    {"@propercase", 1, 1, [](Evaluator& ev, const Node& call) { return eachText(ev, call, properCase); }},
    {"@trim", 1, 1,
     [](Evaluator& ev, const Node& call) {
         std::vector<std::string> out;
         for (const std::string& value : textArgument(ev, call, 0))
             if (std::string kept = collapsedSpaces(value); !kept.empty()) out.push_back(kept);
         return fromTexts(out);
     }},
    {"@contains", 2, 2,
     [](Evaluator& ev, const Node& call) {
         return anyTextPair(ev, call, containsText);
     }},
    {"@begins", 2, 2,
     [](Evaluator& ev, const Node& call) {
         return anyTextPair(ev, call, [](const std::string& a, const std::string& b) { return a.starts_with(b); });
     }},
    {"@ends", 2, 2,
     [](Evaluator& ev, const Node& call) {
         return anyTextPair(ev, call, [](const std::string& a, const std::string& b) { return a.ends_with(b); });
     }},
    {"@isavailable", 1, 1, [](Evaluator& ev, const Node& call) { return available(ev, call, true); }},
    {"@isunavailable", 1, 1, [](Evaluator& ev, const Node& call) { return available(ev, call, false); }},
    {"@elements", 1, 1, elements},
    {"@left", 2, 2, substring<leftPart>},
    {"@right", 2, 2, substring<rightPart>},
    {"@leftback", 2, 2, substring<leftBackPart>},
    {"@rightback", 2, 2, substring<rightBackPart>},
    {"@length", 1, 1,
     [](Evaluator& ev, const Node& call) {
         ValueList out;
         for (const std::string& value : textArgument(ev, call, 0)) out.emplace_back(std::in_place_type<double>, static_cast<double>(text::characterCount(value)));
         return out;
     }},
    {"@subset", 2, 2, subset},
    {"@implode", 1, 2, implode},
    {"@explode", 1, 2, explode},
    {"@member", 2, 2, member},
    {"@ismember", 2, 2, isMember},
    {"@sum", 1, -1, sum},
    {"@unique", 1, 1, unique},
    {"@istext", 1, 1, isKind<std::string>},
    {"@isnumber", 1, 1, isKind<double>},
    {"@istime", 1, 1, isKind<DateTime>},
});

}  // namespace

const FunctionSignature* findFunction(std::string_view name) {
    for (std::span<const FunctionSignature> family : {std::span<const FunctionSignature>(kFunctions), moreFunctions(),
                                                      conversionFunctions(), timeFunctions(), documentFunctions(),
                                                      textListFunctions()})
        for (const FunctionSignature& signature : family)
            if (name == signature.name) return &signature;
    return nullptr;
}

bool acceptsKeyword(std::string_view function, std::string_view keyword) {
    return (function == "@name" && isNameKeyword(keyword)) || (function == "@sort" && isSortKeyword(keyword));
}

}  // namespace velloran::notes::formula
