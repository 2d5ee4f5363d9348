#pragma once
// What one evaluation of a formula may use. Formulas come from database
// files, so every size a formula can grow stops at a limit with an error
// instead of exhausting the stack or the memory of the machine.
#include "api/NotesApi.h"
#include "store/EngineError.h"

#include <cstddef>

namespace velloran::notes::formula {

// Brackets, function calls and prefix signs inside one another; deeper
// formulas are refused when they are parsed.
constexpr std::size_t kMaxNesting = 256;

// The work of one evaluation, in bytes: every value it makes, every text
// it compares or searches, each step of a pattern, together. Each
// operation pays before or while it works, so an evaluation's time, not
// only its memory, is bounded by a constant times this limit.
constexpr std::size_t kMaxWorkBytes = std::size_t{256} << 20;

// What a value costs: its slot in a list plus the bytes of its text.
std::size_t bytesOf(const Value& value);
std::size_t bytesOf(const ValueList& values);

// An evaluation whose work passes the limit stops with a Failure of
// Kind::WorkLimit. The view index tells it apart from the failures of
// ordinary formulas: it says that a formula could not be decided, not what
// it decides.

class Budget {
public:
    // Throws a Failure of Kind::WorkLimit at `position` once the total passes the limit.
    // Cheap enough to call once per character or pair visited.
    void spend(std::size_t bytes, std::size_t position) {
        if (bytes > kMaxWorkBytes - spent_) exhausted(position);
        spent_ += bytes;
    }
    // Pays for `count` steps of `each` bytes, without overflow.
    void spend(std::size_t count, std::size_t each, std::size_t position);
    std::size_t spent() const { return spent_; }

private:
    [[noreturn]] static void exhausted(std::size_t position);

    std::size_t spent_ = 0;
};

}  // namespace velloran::notes::formula
