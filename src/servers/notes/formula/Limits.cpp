#include "formula/Limits.h"

namespace velloran::notes::formula {

std::size_t bytesOf(const Value& value) {
    auto* text = std::get_if<std::string>(&value);
    return sizeof(Value) + (text ? text->size() : 0);
}

std::size_t bytesOf(const ValueList& values) {
    std::size_t total = 0;
    for (const Value& value : values) total += bytesOf(value);
    return total;
}

void Budget::spend(std::size_t count, std::size_t each, std::size_t position) {
    if (each != 0 && count > kMaxWorkBytes / each) exhausted(position);
    spend(count * each, position);
}

void Budget::exhausted(std::size_t position) {
    throw engineFailure(Failure::Kind::WorkLimit, msg::kFormula,
                        {std::to_string(position), "the formula makes or compares more than " +
                                                       std::to_string(kMaxWorkBytes >> 20) +
                                                       " MB of values; it must work on fewer or shorter values"});
}

}  // namespace velloran::notes::formula
