#pragma once
// One late-bound call as an automation object receives it, with the checks
// every member makes on its kind and arguments. Failures throw
// a workbook Failure with a message naming the object, member and argument.
// The checks that pass are inline: every cell the export writes goes
// through two calls.
#include "component/Dispatch.h"
#include "errors/Failure.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velloran::excel {

// A call the automation objects cannot take: a workbook Failure.
inline platform::Failure automationFailure(const std::string& text) {
    return platform::Failure(platform::Failure::Kind::Workbook, text);
}

// Whether two names are the same without regard to the case of the letters
// A-Z. Where `b` has such a letter one bit tells the cases apart; with `b`
// a literal, as the members' names are, that is known while compiling.
inline bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char lower = static_cast<char>(b[i] | 0x20);
        bool letter = lower >= 'a' && lower <= 'z';
        if (letter ? static_cast<char>(a[i] | 0x20) != lower : a[i] != b[i]) return false;
    }
    return true;
}

class Call {
public:
    Call(std::string_view object, const std::string& member, component::CallKind kind,
         const std::vector<component::Variant>& args)
        : object_(object), member_(member), kind_(kind), args_(args) {}

    bool is(std::string_view name) const { return sameName(member_, name); }
    std::size_t count() const { return args_.size(); }
    const component::Variant& argument(std::size_t index) const { return args_[index]; }

    // A member read or called for its result: a method call or a property
    // read, as late binding issues either; `names` describe the arguments.
    void expectRead(std::initializer_list<const char*> names) const {
        if (kind_ == component::CallKind::PropertyPut || args_.size() != names.size()) failRead(names);
    }
    // A property assignment of one value.
    void expectAssignment() const {
        if (kind_ != component::CallKind::PropertyPut || args_.size() != 1) failAssignment();
    }

    // Argument `index` as a row or column number (from 1, as int32 or as a
    // whole double); returned counting from 0.
    std::uint32_t position(std::size_t index, const char* what) const {
        const auto* whole = std::get_if<std::int32_t>(&args_[index]);
        if (whole && *whole >= 1) return static_cast<std::uint32_t>(*whole) - 1;
        return otherPosition(index, what);
    }
    double number(std::size_t index, const char* what) const;
    // Argument `index` as a whole number (int32, or a whole double).
    std::int32_t whole(std::size_t index, const char* what) const;
    const std::string& text(std::size_t index, const char* what) const {
        if (const auto* text = std::get_if<std::string>(&args_[index])) return *text;
        failType(index, what, "text");
    }

    [[noreturn]] void fail(const std::string& why) const;
    [[noreturn]] void failUnknown() const;

private:
    std::string name() const;
    [[noreturn]] void failRead(std::initializer_list<const char*> names) const;
    [[noreturn]] void failAssignment() const;
    [[noreturn]] void failType(std::size_t index, const char* what, const char* wanted) const;
    std::uint32_t otherPosition(std::size_t index, const char* what) const;

    std::string_view object_;
    const std::string& member_;
    component::CallKind kind_;
    const std::vector<component::Variant>& args_;
};

}  // namespace velloran::excel
