#include "CsvFields.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace velloran::workbook::csv {

namespace {

constexpr std::int64_t kMillisecondsADay = 86'400'000;
// Days from 1899-12-30 to 1970-01-01; the years 1 to 9999 run from
// kFirstDay to before kLastDay, counted from 1899-12-30.
constexpr std::int64_t kUnixEpochDay = 25569;
constexpr double kFirstDay = -693593, kLastDay = 2958466;

struct CivilDate {
    std::int64_t year;
    unsigned month, day;
};

// The proleptic Gregorian date of a day counted from 1970-01-01.
CivilDate civilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;
    const unsigned day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    const unsigned month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return {static_cast<std::int64_t>(yearOfEra) + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

constexpr std::uint64_t kOnes = 0x0101010101010101ull;

// Whether any byte of `word` is zero.
constexpr bool hasZeroByte(std::uint64_t word) { return ((word - kOnes) & ~word & (kOnes << 7)) != 0; }

bool isSpecial(char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; }

// Whether `text` holds a character that makes a field quoted, eight bytes
// at a time: every text cell passes through here.
bool needsQuotes(std::string_view text) {
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + at, sizeof word);
        if (hasZeroByte(word ^ (kOnes * ',')) || hasZeroByte(word ^ (kOnes * '"')) ||
            hasZeroByte(word ^ (kOnes * '\r')) || hasZeroByte(word ^ (kOnes * '\n')))
            return true;
    }
    for (; at < text.size(); ++at)
        if (isSpecial(text[at])) return true;
    return false;
}

}  // namespace

void appendText(std::string& out, std::string_view utf8) {
    if (!needsQuotes(utf8)) {
        out.append(utf8);
        return;
    }
    out.push_back('"');
    for (char c : utf8) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

// The shortest digits that read back as the same number, written out in
// full from 0.00001 up to 10^15 (100000, not 1e+05, as a spreadsheet shows
// it), with an exponent outside that range.
void appendNumber(std::string& out, double value) {
    char digits[64];
    const double size = std::fabs(value);
    const bool plain = size == 0 || (size >= 1e-5 && size < 1e15);
    char* end = plain ? std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed).ptr
                      : std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, static_cast<std::size_t>(end - digits));
}

void appendDateTime(std::string& out, double days) {
    if (!(days >= kFirstDay && days < kLastDay)) return appendNumber(out, days);
    const auto milliseconds = static_cast<std::int64_t>(std::llround(days * kMillisecondsADay));
    std::int64_t day = milliseconds / kMillisecondsADay, inDay = milliseconds % kMillisecondsADay;
    if (inDay < 0) --day, inDay += kMillisecondsADay;
    const CivilDate date = civilFromDays(day - kUnixEpochDay);
    char text[40];
    int length = std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lld",
                               static_cast<long long>(date.year), date.month, date.day,
                               static_cast<long long>(inDay / 3'600'000), static_cast<long long>(inDay / 60'000 % 60),
                               static_cast<long long>(inDay / 1000 % 60));
    out.append(text, static_cast<std::size_t>(length));
    if (inDay % 1000 != 0) {
        length = std::snprintf(text, sizeof text, ".%03lld", static_cast<long long>(inDay % 1000));
        out.append(text, static_cast<std::size_t>(length));
    }
}

}  // namespace velloran::workbook::csv
