#pragma once
// The default text form of values: numbers without needless digits
// ("12", "0.5"), date-times as "YYYY-MM-DD HH:MM:SS" in UTC, dates as
// "YYYY-MM-DD".
#include "api/NotesApi.h"

#include <optional>
#include <string>

namespace velloran::notes::text {

std::string numberText(double number);
std::string dateTimeText(const DateTime& moment);
std::string valueText(const Value& value);

// Reads "YYYY-MM-DD", "YYYY-MM-DDTHH:MM[:SS[.mmm]][Z]" (or with a blank
// instead of "T"); times are UTC. Nothing when the text is not such a date.
std::optional<DateTime> parseDateTime(const std::string& text);

}  // namespace velloran::notes::text
