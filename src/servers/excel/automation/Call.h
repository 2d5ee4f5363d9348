#pragma once
// One late-bound call as an automation object receives it, with the checks
// every member makes on its kind and arguments. Failures throw
// AutomationError with a message naming the object, member and argument.
#include "component/Dispatch.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::excel {

class AutomationError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether two member names are the same without regard to letter case.
bool sameName(std::string_view a, std::string_view b);

class Call {
public:
    Call(std::string_view object, const std::string& member, component::CallKind kind,
         const std::vector<component::Variant>& args)
        : object_(object), member_(member), kind_(kind), args_(args) {}

    bool is(std::string_view name) const { return sameName(member_, name); }
    // Makes the same call on `object`.
    component::Variant forwardTo(component::Dispatch&& object) const { return object.invoke(member_, kind_, args_); }

    // A member read or called for its result: a method call or a property
    // read, as late binding issues either; `names` describe the arguments.
    void expectRead(std::initializer_list<const char*> names) const;
    // A property assignment of one value.
    void expectAssignment() const;

    // Argument `index` as a row or column number (from 1, as int32 or as a
    // whole double); returned counting from 0.
    std::uint32_t position(std::size_t index, const char* what) const;
    double number(std::size_t index, const char* what) const;
    const std::string& text(std::size_t index, const char* what) const;

    [[noreturn]] void fail(const std::string& why) const;
    [[noreturn]] void failUnknown() const;

private:
    std::string name() const;
    void expectCount(std::size_t count, std::initializer_list<const char*> names) const;

    std::string_view object_;
    const std::string& member_;
    component::CallKind kind_;
    const std::vector<component::Variant>& args_;
};

}  // namespace velloran::excel
