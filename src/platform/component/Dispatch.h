#pragma once
// Late-bound automation: an object whose members are called by name, with
// variant arguments, the way the export drives the spreadsheet application.
#include "component/ComponentObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace velloran::component {

class Dispatch;
using DispatchPtr = std::shared_ptr<Dispatch>;

// monostate stands for "no value" (a method without a result).
using Variant = std::variant<std::monostate, bool, std::int32_t, double, std::string, DispatchPtr>;

enum class CallKind { Method, PropertyGet, PropertyPut };

class VELLORAN_INTERFACE Dispatch : public Object {
public:
    // Calls `member` (matched without regard to letter case). For a
    // PropertyPut the value to store is the last argument. Throws a
    // std::exception with a readable message for an unknown member, a wrong
    // argument count or type, or any failure of the call itself.
    virtual Variant invoke(const std::string& member, CallKind kind,
                           const std::vector<Variant>& args) = 0;
};

}  // namespace velloran::component
