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

std::uint64_t wordAt(const char* at) {
    std::uint64_t word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

bool hasSpecial(std::uint64_t word) {
    return hasZeroByte(word ^ (kOnes * ',')) || hasZeroByte(word ^ (kOnes * '"')) ||
           hasZeroByte(word ^ (kOnes * '\r')) || hasZeroByte(word ^ (kOnes * '\n'));
}

// Whether `text` holds a character that makes a field quoted, eight bytes
// at a time.
bool needsQuotes(std::string_view text) {
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8)
        if (hasSpecial(wordAt(text.data() + at))) return true;
    for (; at < text.size(); ++at)
        if (isSpecial(text[at])) return true;
    return false;
}

// Whether `bytes` are ASCII with nothing to quote, in one pass eight bytes
// at a time: every text cell passes through here. The last word overlaps
// the one before it when the size is not a multiple of eight.
bool isPlainAscii(std::string_view bytes) {
    if (bytes.size() < 8) {
        for (char c : bytes)
            if (static_cast<unsigned char>(c) >= 0x80 || isSpecial(c)) return false;
        return true;
    }
    std::uint64_t seen = 0;
    bool special = false;
    auto look = [&](std::uint64_t word) {
        seen |= word;
        special |= hasSpecial(word);
    };
    for (std::size_t at = 0; at + 8 < bytes.size(); at += 8) look(wordAt(bytes.data() + at));
    look(wordAt(bytes.data() + bytes.size() - 8));
    return !special && (seen & (kOnes << 7)) == 0;
}

template <std::size_t kSize>
void copyFixed(char* to, const char* from) {
    char piece[kSize];
    std::memcpy(piece, from, kSize);
    std::memcpy(to, piece, kSize);
}

// Copies `bytes` to `at`. Texts of 8 to 32 bytes, most cell texts, go as
// two overlapping copies of a fixed size, which compile to a few moves
// instead of a call.
char* put(char* at, std::string_view bytes) {
    const char* from = bytes.data();
    const std::size_t size = bytes.size();
    if (size >= 8 && size <= 16) {
        copyFixed<8>(at, from);
        copyFixed<8>(at + size - 8, from + size - 8);
    } else if (size > 16 && size <= 32) {
        copyFixed<16>(at, from);
        copyFixed<16>(at + size - 16, from + size - 16);
    } else {
        std::memcpy(at, from, size);
    }
    return at + size;
}

}  // namespace

char* putText(char* at, std::string_view utf8) {
    if (!needsQuotes(utf8)) return put(at, utf8);
    *at++ = '"';
    for (char c : utf8) {
        if (c == '"') *at++ = '"';
        *at++ = c;
    }
    *at++ = '"';
    return at;
}

char* putStored(char* at, const CompactText& text, std::string& scratch) {
    if (!text.encoding.wide && isPlainAscii(text.bytes)) return put(at, text.bytes);
    scratch.clear();
    appendUtf8(scratch, text);
    return putText(at, scratch);
}

// The shortest digits that read back as the same number, written out in
// full from 0.00001 up to 10^15 (100000, not 1e+05, as a spreadsheet shows
// it), with an exponent outside that range. kMostNumberBytes hold either.
char* putNumber(char* at, double value) {
    const double size = std::fabs(value);
    const bool plain = size == 0 || (size >= 1e-5 && size < 1e15);
    return plain ? std::to_chars(at, at + kMostNumberBytes, value, std::chars_format::fixed).ptr
                 : std::to_chars(at, at + kMostNumberBytes, value).ptr;
}

namespace {

// A date-time's day and its milliseconds into the day.
struct Moment {
    CivilDate date;
    std::int64_t inDay;
};

Moment momentOf(double days) {
    const auto milliseconds = static_cast<std::int64_t>(std::llround(days * kMillisecondsADay));
    std::int64_t day = milliseconds / kMillisecondsADay, inDay = milliseconds % kMillisecondsADay;
    if (inDay < 0) --day, inDay += kMillisecondsADay;
    return {civilFromDays(day - kUnixEpochDay), inDay};
}

char* putCivilDate(char* at, const CivilDate& date) {
    char text[kMostNumberBytes];
    const int length = std::snprintf(text, sizeof text, "%04lld-%02u-%02u", static_cast<long long>(date.year),
                                     date.month, date.day);
    return put(at, {text, static_cast<std::size_t>(length)});
}

}  // namespace

char* putDateTime(char* at, double days) {
    if (!(days >= kFirstDay && days < kLastDay)) return putNumber(at, days);
    const Moment moment = momentOf(days);
    const std::int64_t inDay = moment.inDay;
    at = putCivilDate(at, moment.date);
    char text[kMostNumberBytes];
    int length = std::snprintf(text, sizeof text, "T%02lld:%02lld:%02lld", static_cast<long long>(inDay / 3'600'000),
                               static_cast<long long>(inDay / 60'000 % 60), static_cast<long long>(inDay / 1000 % 60));
    at = put(at, {text, static_cast<std::size_t>(length)});
    if (inDay % 1000 == 0) return at;
    length = std::snprintf(text, sizeof text, ".%03lld", static_cast<long long>(inDay % 1000));
    return put(at, {text, static_cast<std::size_t>(length)});
}

char* putDate(char* at, double days) {
    if (!(days >= kFirstDay && days < kLastDay)) return putNumber(at, days);
    return putCivilDate(at, momentOf(days).date);
}

}  // namespace velloran::workbook::csv
