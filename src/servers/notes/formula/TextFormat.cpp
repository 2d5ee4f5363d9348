#include "formula/TextFormat.h"

#include "formula/Calendar.h"
#include "formula/Syntax.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace velloran::notes::formula {

namespace {

constexpr int kMostDecimals = 15;

struct Code {
    char letter;               // upper case; '(' for "()"
    std::optional<int> digits;
};

std::vector<Code> codesOf(std::string_view format, std::size_t position) {
    std::vector<Code> codes;
    for (std::size_t at = 0; at < format.size();) {
        char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(format[at])));
        if (letter == ' ') {
            ++at;
            continue;
        }
        if (letter == '(' && format.substr(at, 2) == "()") ++at;
        else if (!std::isalpha(static_cast<unsigned char>(letter)) && letter != '%' && letter != ',')
            fail(position, "@Text: the format \"" + std::string(format) + "\" holds an unknown code");
        Code code{letter, std::nullopt};
        for (++at; at < format.size() && std::isdigit(static_cast<unsigned char>(format[at])); ++at)
            code.digits = std::min(code.digits.value_or(0) * 10 + (format[at] - '0'), 99);
        codes.push_back(code);
    }
    return codes;
}

[[noreturn]] void unknownCode(const Code& code, const char* kind, std::size_t position) {
    fail(position, std::string("@Text: the code ") + (code.letter == '(' ? "()" : std::string(1, code.letter)) +
                       " is not a " + kind + " format");
}

struct NumberFormat {
    char style = 'G';  // G, F, S or C
    std::optional<int> decimals;
    bool thousands = false, percent = false, brackets = false;
};

NumberFormat numberFormat(const std::vector<Code>& codes, std::size_t position) {
    NumberFormat format;
    for (const Code& code : codes) {
        switch (code.letter) {
        case 'G': case 'F': case 'S': case 'C': format.style = code.letter; break;
        case '%': case 'P': format.percent = true; break;
        case ',': format.thousands = true; break;
        case '(': format.brackets = true; break;
        default: unknownCode(code, "number", position);
        }
        if (code.digits) format.decimals = std::min(*code.digits, kMostDecimals);
    }
    if (format.style == 'C') format.thousands = true;
    if (format.style == 'G' && format.decimals) format.style = 'F';
    return format;
}

// `digits` with "," between thousands of its whole part.
std::string groupedThousands(std::string_view digits) {
    std::size_t whole = std::min(digits.find('.'), digits.size());
    std::string out;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && at < whole && (whole - at) % 3 == 0) out += ',';
        out += digits[at];
    }
    return out;
}

std::string numberWithFormat(double number, const NumberFormat& format) {
    if (format.percent) number *= 100;
    if (!std::isfinite(number)) return platform::numberText(number);
    double magnitude = std::fabs(number);
    std::string digits;
    if (format.style == 'G') {
        digits = platform::numberText(magnitude);
    } else {
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, format.style == 'S' ? "%.*E" : "%.*f", format.decimals.value_or(2), magnitude);
        digits = buffer;
    }
    // A negative number rounded to zero shows no sign.
    bool negative = number < 0 && digits.find_first_of("123456789") != std::string::npos;
    std::string out = negative ? (format.brackets ? "(" : "-") : "";
    if (format.style == 'C') out += "¥";
    out += format.thousands && format.style != 'S' ? groupedThousands(digits) : digits;
    if (format.percent) out += '%';
    if (negative && format.brackets) out += ')';
    return out;
}

struct DateFormat {
    int date = -1, time = -1, show = -1;  // the digit of D, T and S, -1 when absent
};

DateFormat dateFormat(const std::vector<Code>& codes, std::size_t position) {
    DateFormat format;
    for (const Code& code : codes) {
        int digit = code.digits.value_or(0);
        if (code.letter == 'D' && digit <= 3) format.date = digit;
        else if (code.letter == 'T' && digit <= 1) format.time = digit;
        else if (code.letter == 'S' && digit <= 3) format.show = digit;
        else if (code.letter != 'Z') unknownCode(code, "date-time", position);
        // Z (zone display) is accepted and left out: texts carry no zone.
    }
    return format;
}

std::string dateText(const CalendarFields& f, int style) {
    char buffer[32];
    if (style == 2) std::snprintf(buffer, sizeof buffer, "%02lld-%02lld", static_cast<long long>(f.month), static_cast<long long>(f.day));
    else if (style == 3) std::snprintf(buffer, sizeof buffer, "%04lld-%02lld", static_cast<long long>(f.year), static_cast<long long>(f.month));
    else std::snprintf(buffer, sizeof buffer, "%04lld-%02lld-%02lld", static_cast<long long>(f.year), static_cast<long long>(f.month),
                       static_cast<long long>(f.day));
    return buffer;
}

std::string timeText(const CalendarFields& f, int style) {
    char buffer[32];
    if (style == 1) std::snprintf(buffer, sizeof buffer, "%02lld:%02lld", static_cast<long long>(f.hour), static_cast<long long>(f.minute));
    else std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", static_cast<long long>(f.hour), static_cast<long long>(f.minute),
                       static_cast<long long>(f.second));
    return buffer;
}

std::string momentWithFormat(const DateTime& moment, const DateFormat& format, platform::TimeZone zone, std::size_t position) {
    CalendarFields fields = calendarFields(moment, zone, position, "@Text");
    bool showDate = format.date >= 0 || (format.time < 0 && moment.hasDate);
    bool showTime = format.time >= 0 || (format.date < 0 && moment.hasTime);
    if (format.show >= 0) {
        showDate = format.show != 1;
        showTime = format.show != 0;
    }
    std::string out = showDate ? dateText(fields, format.date) : "";
    if (showTime && showDate) out += ' ';
    if (showTime) out += timeText(fields, format.time);
    return out;
}

}  // namespace

std::string formattedText(const Value& value, std::string_view format, platform::TimeZone zone, std::size_t position) {
    std::vector<Code> codes = codesOf(format, position);
    if (auto* text = std::get_if<std::string>(&value)) return *text;
    if (auto* number = std::get_if<double>(&value)) return numberWithFormat(*number, numberFormat(codes, position));
    return momentWithFormat(std::get<DateTime>(value), dateFormat(codes, position), zone, position);
}

}  // namespace velloran::notes::formula
