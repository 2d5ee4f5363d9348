#include "formula/ValueSet.h"

#include <cmath>
#include <functional>

namespace velloran::notes::formula {

namespace {

bool isNaN(const Value& value) {
    auto* number = std::get_if<double>(&value);
    return number && std::isnan(*number);
}

}  // namespace

std::size_t ValueSet::Hash::operator()(const Value* value) const {
    if (auto* text = std::get_if<std::string>(value)) return std::hash<std::string>()(*text);
    if (auto* number = std::get_if<double>(value)) return std::hash<double>()(*number == 0 ? 0.0 : *number);
    const auto& moment = std::get<DateTime>(*value);
    return std::hash<std::int64_t>()(moment.msecsSinceEpoch) ^ static_cast<std::size_t>(moment.hasTime);
}

bool ValueSet::insert(const Value& value) { return isNaN(value) || values_.insert(&value).second; }

bool ValueSet::contains(const Value& value) const { return !isNaN(value) && values_.contains(&value); }

}  // namespace velloran::notes::formula
