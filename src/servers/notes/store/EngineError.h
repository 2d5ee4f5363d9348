#pragma once
// The one exception type the engine throws. Its message is written for the
// person using the program: it says what failed and on which file or name.
#include <stdexcept>
#include <string>

namespace velloran::notes {

class EngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velloran::notes
