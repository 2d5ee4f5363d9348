#include "formula/FunctionFamilies.h"

#include "formula/Arguments.h"
#include "formula/Names.h"
#include "formula/Operators.h"
#include "formula/Ranges.h"
#include "formula/TextSearch.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velloran::notes::formula {

namespace {

ValueList name(Evaluator& ev, const Node& call) {
    const Node& keyword = call.children[0];
    if (keyword.kind != Node::Kind::Keyword) fail(keyword.position, "@Name needs a keyword such as [CN] first");
    return eachText(ev, call, [&](const std::string& value) { return applyNameKeyword(keyword.text, value); }, 1);
}

std::vector<double> numbers(Evaluator& ev, const Node& call, std::size_t index) {
    std::vector<double> out;
    for (const Value& value : argument(ev, call, index)) {
        auto* number = std::get_if<double>(&value);
        if (!number) fail(call.children[index].position, call.text + " needs numbers");
        out.push_back(*number);
    }
    return out;
}

template <double (*Apply)(double)>
ValueList eachNumber(Evaluator& ev, const Node& call) {
    ValueList out;
    for (double number : numbers(ev, call, 0)) out.emplace_back(std::in_place_type<double>, Apply(number));
    return out;
}

double absolute(double number) { return std::fabs(number); }
double integerPart(double number) { return std::trunc(number); }
double roundHalfUp(double number) { return std::floor(number + 0.5); }

// @Round(x) to a whole number, @Round(x; step) to a multiple of step.
ValueList round(Evaluator& ev, const Node& call) {
    double step = call.children.size() > 1 ? numberArgument(ev, call, 1) : 1.0;
    if (step == 0 || std::isnan(step)) fail(call.children[1].position, "@Round needs a step other than 0");
    ValueList out;
    for (double number : numbers(ev, call, 0)) out.emplace_back(std::in_place_type<double>, roundHalfUp(number / step) * step);
    return out;
}

// One list: its extreme. Two lists: pair by pair, the shorter repeating its
// last value.
template <bool Largest>
ValueList extreme(Evaluator& ev, const Node& call) {
    auto pick = [](double a, double b) { return Largest ? std::max(a, b) : std::min(a, b); };
    std::vector<double> left = numbers(ev, call, 0);
    if (call.children.size() == 1) {
        double best = left.front();
        for (double number : left) best = pick(best, number);
        return {best};
    }
    std::vector<double> right = numbers(ev, call, 1);
    ValueList out;
    for (std::size_t i = 0; i < std::max(left.size(), right.size()); ++i)
        out.emplace_back(std::in_place_type<double>, pick(left[std::min(i, left.size() - 1)], right[std::min(i, right.size() - 1)]));
    return out;
}

// The character of a code point, as UTF-8.
ValueList character(Evaluator& ev, const Node& call) {
    auto code = static_cast<char32_t>(wholeNumberIn(numberArgument(ev, call, 0), 1, 0x10FFFF, call.position, "@Char: the code"));
    if (code >= 0xD800 && code <= 0xDFFF) fail(call.position, "@Char: the code is a surrogate, not a character");
    std::string out;
    if (code < 0x80) out += static_cast<char>(code);
    else if (code < 0x800) out += {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
    else if (code < 0x10000)
        out += {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
                static_cast<char>(0x80 | (code & 0x3F))};
    else
        out += {static_cast<char>(0xF0 | (code >> 18)), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
    return {out};
}

// Runs every argument in turn; the last one's value is the result.
ValueList doAll(Evaluator& ev, const Node& call) {
    ValueList result;
    for (std::size_t i = 0; i < call.children.size(); ++i) result = argument(ev, call, i);
    return result;
}

// Where the piece of `value` after the one starting at `start` starts, or
// npos after the last piece.
std::size_t nextPiece(std::string_view value, std::size_t start, std::string_view separator) {
    std::size_t at = findText(value.substr(start), separator);
    return at == std::string::npos ? at : start + at + separator.size();
}

// The n-th piece (from 1) of `value` split at the separator; negative n
// counts from the end; none there gives "". The pieces are counted, then
// walked to, in time linear in the text whatever the separator.
std::string wordOf(std::string_view value, std::string_view separator, double wanted) {
    std::size_t count = 1;
    for (std::size_t start = nextPiece(value, 0, separator); start != std::string::npos;
         start = nextPiece(value, start, separator))
        ++count;
    double index = wanted < 0 ? static_cast<double>(count) + wanted : wanted - 1;
    if (std::isnan(index) || index < 0 || index >= static_cast<double>(count)) return {};
    std::size_t start = 0;
    for (std::size_t i = 0; i < static_cast<std::size_t>(index); ++i) start = nextPiece(value, start, separator);
    return std::string(value.substr(start, findText(value.substr(start), separator)));
}

// @Word(text; separator; n): the n-th piece of each text (see wordOf).
ValueList word(Evaluator& ev, const Node& call) {
    std::string separator = textArgument(ev, call, 1).front();
    double wanted = numberArgument(ev, call, 2);
    if (separator.empty()) fail(call.children[1].position, "@Word needs a separator");
    return eachText(ev, call, [&](const std::string& value) { return wordOf(value, separator, wanted); });
}

// Whether the non-empty `part` stands in `value` at `at`. Every try pays for
// the bytes it compared, so many long parts over a long text end in the
// budget's error rather than in hours of comparing.
bool startsHere(const std::string& value, std::size_t at, const std::string& part, Budget& budget, std::size_t position) {
    std::size_t same = 0, most = std::min(part.size(), value.size() - at);
    while (same < most && value[at + same] == part[same]) ++same;
    budget.spend(1 + same, position);
    return !part.empty() && same == part.size();
}

// @ReplaceSubstring(texts; from; to): read left to right, each place where
// one of `from` starts (the first listed wins) takes the matching `to`, the
// shorter `to` list repeating its last value.
ValueList replaceSubstring(Evaluator& ev, const Node& call) {
    std::vector<std::string> from = textArgument(ev, call, 1), to = textArgument(ev, call, 2);
    return eachText(ev, call, [&](const std::string& value) {
        std::string out;
        for (std::size_t at = 0; at < value.size();) {
            std::size_t match = 0;
            while (match < from.size() && !startsHere(value, at, from[match], ev.budget(), call.position)) ++match;
            if (match == from.size()) {
                out += value[at++];
                continue;
            }
            const std::string& replacement = to[std::min(match, to.size() - 1)];
            ev.budget().spend(replacement.size(), call.position);
            out += replacement;
            at += from[match].size();
        }
        return out;
    });
}

constexpr auto kMoreFunctions = std::to_array<FunctionSignature>({
    {"@name", 2, 2, name},
    {"@abs", 1, 1, eachNumber<absolute>},
    {"@integer", 1, 1, eachNumber<integerPart>},
    {"@round", 1, 2, round},
    {"@max", 1, 2, extreme<true>},
    {"@min", 1, 2, extreme<false>},
    {"@char", 1, 1, character},
    {"@newline", 0, 0, [](Evaluator&, const Node&) { return ValueList{std::string("\n")}; }},
    {"@do", 1, -1, doAll},
    {"@word", 3, 3, word},
    {"@replacesubstring", 3, 3, replaceSubstring},
});

}  // namespace

std::span<const FunctionSignature> moreFunctions() { return kMoreFunctions; }

}  // namespace velloran::notes::formula
