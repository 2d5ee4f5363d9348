#pragma once
// The default text form of values (@Text, list columns): text unchanged,
// numbers and date-times in the program's one form (values/ValueText.h).
#include "api/NotesApi.h"
#include "values/ValueText.h"

#include <optional>
#include <string>

namespace velloran::notes::text {

// Date-times in local time, unless the text is kept (a view index holds
// UTC texts, so that they do not depend on the zone of whoever built it).
std::string valueText(const Value& value, platform::TimeZone zone = platform::TimeZone::Local);

// Reads "YYYY-MM-DD", "YYYY-MM-DDTHH:MM[:SS[.mmm]][Z]" (or with a blank
// instead of "T"); times are UTC. Nothing when the text is not such a date.
std::optional<DateTime> parseDateTime(const std::string& text);

}  // namespace velloran::notes::text
