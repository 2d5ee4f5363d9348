#pragma once
#include <stdexcept>

namespace velloran::tools {

// A failure of a data tool; the message says what to fix.
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace velloran::tools
