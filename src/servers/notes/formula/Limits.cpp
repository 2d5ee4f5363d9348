#include "formula/Limits.h"

#include "formula/Syntax.h"

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

void Budget::spend(std::size_t bytes, std::size_t position) {
    if (bytes > kMaxWorkBytes - spent_)
        fail(position, "the formula makes or compares more than " + std::to_string(kMaxWorkBytes >> 20) +
                           " MB of values; it must work on fewer or shorter values");
    spent_ += bytes;
}

}  // namespace velloran::notes::formula
