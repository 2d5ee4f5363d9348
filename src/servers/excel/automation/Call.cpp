#include "Call.h"

#include <cmath>
#include <limits>

namespace velloran::excel {

using component::CallKind;
using component::Variant;

namespace {

const char* kindOf(const Variant& value) {
    static constexpr const char* kNames[] = {"nothing", "a true/false value", "a whole number", "a number", "text",
                                             "an object"};
    return kNames[value.index()];
}

std::string listed(std::initializer_list<const char*> names) {
    std::string text;
    for (const char* name : names) text.append(text.empty() ? "" : ", ").append(name);
    return text;
}

}  // namespace

std::string Call::name() const { return std::string(object_).append(".").append(member_); }

void Call::fail(const std::string& why) const { throw automationFailure(name() + ": " + why); }

void Call::failUnknown() const {
    throw automationFailure(std::string(object_).append(" has no member \"").append(member_).append("\""));
}

void Call::failRead(std::initializer_list<const char*> names) const {
    if (kind_ == CallKind::PropertyPut) fail("cannot be assigned");
    std::string wanted =
        names.size() == 0 ? "takes no arguments" : "takes " + std::to_string(names.size()) + " (" + listed(names) + ")";
    fail(wanted + ", not " + std::to_string(args_.size()));
}

void Call::failAssignment() const {
    if (kind_ != CallKind::PropertyPut) fail("can only be assigned");
    fail("takes one value to assign, not " + std::to_string(args_.size()));
}

void Call::failType(std::size_t index, const char* what, const char* wanted) const {
    fail(std::string("the ") + what + " must be " + wanted + ", not " + kindOf(args_[index]));
}

std::uint32_t Call::otherPosition(std::size_t index, const char* what) const {
    const Variant& value = args_[index];
    double number = 0;
    if (const auto* whole = std::get_if<std::int32_t>(&value))
        number = *whole;
    else if (const auto* real = std::get_if<double>(&value))
        number = *real;
    else
        failType(index, what, "a whole number");
    if (!std::isfinite(number) || number != std::floor(number) || number > std::numeric_limits<std::int32_t>::max())
        fail(std::string("the ") + what + " must be a whole number, not " + std::to_string(number));
    if (number < 1) fail(std::string(what) + " " + std::to_string(static_cast<long long>(number)) + " is below 1");
    return static_cast<std::uint32_t>(number) - 1;
}

std::int32_t Call::whole(std::size_t index, const char* what) const {
    double value = number(index, what);
    if (value != std::floor(value) || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max())
        fail(std::string("the ") + what + " must be a whole number, not " + std::to_string(value));
    return static_cast<std::int32_t>(value);
}

double Call::number(std::size_t index, const char* what) const {
    const Variant& value = args_[index];
    if (const auto* whole = std::get_if<std::int32_t>(&value)) return *whole;
    if (const auto* real = std::get_if<double>(&value)) return *real;
    failType(index, what, "a number");
}

}  // namespace velloran::excel
