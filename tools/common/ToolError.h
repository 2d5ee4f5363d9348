#pragma once
// The data tools' own failures: what they read cannot be used. They are
// platform::Failure of Kind::Input; the text says what to fix.
#include "errors/Failure.h"

#include <cstring>
#include <exception>
#include <string>

namespace velloran::tools {

using platform::Failure;

inline Failure toolFailure(const std::string& text) { return Failure(Failure::Kind::Input, text); }

// `inner` told with `context` before it ("<context>: <its text>"): its
// reason and system error number are kept for the printed error.
inline Failure toolFailure(const std::string& context, const std::exception& inner) {
    return platform::asFailure(inner).retold(Failure::Kind::Input, context + ": " + inner.what());
}

// A request the system refused, with its error number: `text` for the
// user, `original` in the system's words.
inline Failure systemFailure(const std::string& text, const std::string& original, int error) {
    return Failure(Failure::Kind::System, text, {"", original + ": " + std::strerror(error), error});
}

}  // namespace velloran::tools
