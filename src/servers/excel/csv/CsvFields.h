#pragma once
// The fields of a CSV file (RFC 4180): a text is quoted when it holds a
// comma, a quote, a carriage return or a line feed, with its quotes
// doubled; every other character, control characters included, is written
// as it is. A number is written as the shortest decimal that reads back as
// the same number, a date-time as ISO 8601 ("2024-01-31T08:05:00", with
// ".250" for a fraction of a second).
#include <string>
#include <string_view>

namespace velloran::workbook::csv {

void appendText(std::string& out, std::string_view utf8);
void appendNumber(std::string& out, double value);
// `days`: days since 1899-12-30 00:00, as a date-time cell holds it. A
// value outside the years 1 to 9999 is written as a number.
void appendDateTime(std::string& out, double days);

}  // namespace velloran::workbook::csv
