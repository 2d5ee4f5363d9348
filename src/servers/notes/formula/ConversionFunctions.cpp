// @Text and the functions that read numbers and date-times from text.
#include "formula/Arguments.h"
#include "formula/ErrorValue.h"
#include "formula/FunctionFamilies.h"
#include "formula/Operators.h"
#include "formula/TextFormat.h"
#include "text/Utf8.h"
#include "text/ValueText.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace velloran::notes::formula {

namespace {

ValueList textOf(Evaluator& ev, const Node& call) {
    platform::TimeZone zone = ev.context().dateTextZone();
    std::string format = call.children.size() > 1 ? textArgument(ev, call, 1).front() : "";
    ValueList out;
    for (const Value& value : argument(ev, call, 0)) {
        ev.budget().spend(format.size(), call.position);  // read again for every value
        out.emplace_back(call.children.size() > 1 ? formattedText(value, format, zone, call.position) : text::valueText(value, zone));
    }
    return out;
}

// Decimal digits with an optional sign, fraction and exponent, blanks
// around, the same in every locale; "inf", "nan" and hexadecimal are not
// numbers here.
std::optional<double> readNumber(std::string_view text) {
    text = text::trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
    if (digits.empty() || !(std::isdigit(static_cast<unsigned char>(digits.front())) || digits.front() == '.')) return std::nullopt;
    double number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

double numberOf(const std::string& text, const Node& call) {
    std::optional<double> number = readNumber(text);
    if (!number) failValue(call.position, call.text + " cannot read '" + text + "' as a number");
    return *number;
}

ValueList textToNumber(Evaluator& ev, const Node& call) {
    ValueList out;
    for (const std::string& value : textArgument(ev, call, 0)) out.emplace_back(std::in_place_type<double>, numberOf(value, call));
    return out;
}

// Numbers stay as they are; texts are read; a date-time is no number.
ValueList toNumber(Evaluator& ev, const Node& call) {
    ValueList out = argument(ev, call, 0);
    for (Value& value : out) {
        if (auto* text = std::get_if<std::string>(&value)) value = numberOf(*text, call);
        else if (std::holds_alternative<DateTime>(value)) failValue(call.position, call.text + " cannot make a number of a date-time");
    }
    return out;
}

// Date-times stay as they are; texts are read as text::parseDateTime
// reads them. Text that is no date-time gives "" from @TextToTime and the
// error value from @ToTime; a number is never a date-time.
template <bool Strict>
ValueList toTime(Evaluator& ev, const Node& call) {
    ValueList out = argument(ev, call, 0);
    for (Value& value : out) {
        if (std::holds_alternative<double>(value)) failValue(call.position, call.text + " cannot make a date-time of a number");
        auto* text = std::get_if<std::string>(&value);
        if (!text) continue;
        if (std::optional<DateTime> moment = text::parseDateTime(std::string(text::trimmed(*text)))) value = *moment;
        else if (Strict) failValue(call.position, call.text + " cannot read '" + *text + "' as a date-time");
        else text->clear();
    }
    return out;
}

ValueList isError(Evaluator& ev, const Node& call) {
    try {
        argument(ev, call, 0);
    } catch (const Failure& error) {
        if (!error.is(Failure::Kind::FormulaValue)) throw;
        return boolean(true);
    }
    return boolean(false);
}

constexpr auto kConversionFunctions = std::to_array<FunctionSignature>({
    {"@text", 1, 2, textOf},
    {"@texttonumber", 1, 1, textToNumber},
    {"@tonumber", 1, 1, toNumber},
    {"@texttotime", 1, 1, toTime<false>},
    {"@totime", 1, 1, toTime<true>},
    {"@iserror", 1, 1, isError},
    {"@error", 0, 0, [](Evaluator&, const Node& call) -> ValueList { failValue(call.position, "@Error"); }},
});

}  // namespace

std::span<const FunctionSignature> conversionFunctions() { return kConversionFunctions; }

}  // namespace velloran::notes::formula
