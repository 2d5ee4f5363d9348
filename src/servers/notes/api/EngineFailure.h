#pragma once
// What the document-database component throws: what() is the message for
// the person using the program (Chinese), original() the same failure in
// English with every detail, for diagnostics.
#include "component/ComponentObject.h"

#include <stdexcept>
#include <string>

namespace velloran::notes {

class VELLORAN_INTERFACE EngineFailure : public std::runtime_error {
public:
    EngineFailure(const std::string& shown, const std::string& original)
        : std::runtime_error(shown), original_(original) {}

    const char* original() const noexcept { return original_.what(); }

private:
    // Copies without throwing, as std::runtime_error's message does.
    std::runtime_error original_;
};

}  // namespace velloran::notes
