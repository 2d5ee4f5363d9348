#pragma once
// What one evaluation of a formula may use. Formulas come from database
// files, so every size a formula can grow stops at a limit with an error
// instead of exhausting the stack or the memory of the machine.
#include "api/NotesApi.h"

#include <cstddef>

namespace velloran::notes::formula {

// Brackets, function calls and prefix signs inside one another; deeper
// formulas are refused when they are parsed.
constexpr std::size_t kMaxNesting = 256;

// The bytes of all values one evaluation makes, and of all texts it
// compares pair by pair, together.
constexpr std::size_t kMaxWorkBytes = std::size_t{256} << 20;

// What a value costs: its slot in a list plus the bytes of its text.
std::size_t bytesOf(const Value& value);
std::size_t bytesOf(const ValueList& values);

class Budget {
public:
    // Throws a formula error at `position` once the total passes the limit.
    void spend(std::size_t bytes, std::size_t position);

private:
    std::size_t spent_ = 0;
};

}  // namespace velloran::notes::formula
