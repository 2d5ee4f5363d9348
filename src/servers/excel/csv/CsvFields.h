#pragma once
// The fields of a CSV file (RFC 4180): a text is quoted when it holds a
// comma, a quote, a carriage return or a line feed, with its quotes
// doubled; every other character, control characters included, is written
// as it is. A number is written as the shortest decimal that reads back as
// the same number, a date-time as ISO 8601 ("2024-01-31T08:05:00", with
// ".250" for a fraction of a second).
//
// Each put function writes one field at `at`, which must have room for the
// most bytes the field can take, and returns where the field ends: the
// writer makes room once per field instead of growing a string for every
// piece.
#include "CompactText.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace velloran::workbook::csv {

// The most bytes a number or a date-time field takes.
constexpr std::size_t kMostNumberBytes = 40;
// The most bytes the field of `utf8Bytes` bytes of text takes: every
// character a quote, doubled, inside two quotes.
constexpr std::size_t mostTextBytes(std::size_t utf8Bytes) { return 2 * utf8Bytes + 2; }
// The same for a stored text: a UTF-16 unit takes at most three UTF-8 bytes.
constexpr std::size_t mostStoredBytes(const CompactText& text) { return mostTextBytes(3 * text.encoding.units); }

char* putText(char* at, std::string_view utf8);
// A text in the workbook's compact form: copied as it is when it is ASCII
// with nothing to quote, as most cell texts are, else made UTF-8 in
// `scratch` first.
char* putStored(char* at, const CompactText& text, std::string& scratch);
char* putNumber(char* at, double value);
// `days`: days since 1899-12-30 00:00, as a date-time cell holds it. A
// value outside the years 1 to 9999 is written as a number.
char* putDateTime(char* at, double days);
// The same as a date alone, "2024-03-01": a time of day is left out, as
// the date format shows it.
char* putDate(char* at, double days);

}  // namespace velloran::workbook::csv
