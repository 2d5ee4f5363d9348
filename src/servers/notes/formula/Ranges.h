#pragma once
// The evaluator's only ways from a number (a double) to a count, a calendar
// field or a moment, each range-checked:
//   counts of characters or values (@Left, @Right, @Subset) drop their
//   fraction and clamp to what there is: below 0 is 0, beyond the end is all;
//   calendar fields (@Date) drop their fraction and must lie in their range;
//   moments lie in the years 1 to 9999, before and after any arithmetic.
// NaN is an error everywhere; every error names the function or operator.
#include "api/NotesApi.h"

#include <chrono>
#include <cstddef>
#include <string>

namespace velloran::notes::formula {

std::size_t clampedCount(double count, std::size_t available, std::size_t position, const std::string& who);
int wholeNumberIn(double value, int low, int high, std::size_t position, const std::string& what);

// The moment itself, or an error when it lies outside the years 1 to 9999.
const DateTime& calendarMoment(const DateTime& moment, std::size_t position, const std::string& who);
std::chrono::sys_days dayOf(const DateTime& moment, std::size_t position, const std::string& who);
DateTime shiftedBy(const DateTime& moment, double seconds, std::size_t position);
double secondsBetween(const DateTime& later, const DateTime& earlier, std::size_t position);

}  // namespace velloran::notes::formula
