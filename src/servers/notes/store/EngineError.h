#pragma once
// The failures the engine throws: Failures of Kind::Database (or of a
// formula's kinds) whose text comes from the message catalogue. what() is
// written for the person using the program and says what failed and on
// which file or name; original() is the English text with the technical
// detail.
#include "errors/Failure.h"
#include "messages/Catalogue.h"

namespace velloran::notes {

using Failure = platform::Failure;

// `message` with `args`, of `kind`; `error` the system's error number
// behind it, when there is one.
inline Failure engineFailure(Failure::Kind kind, const Message& message, const std::vector<MessageArg>& args = {},
                             int error = 0) {
    RenderedMessage text = render(message, args);
    return Failure(kind, text.shown, {"", std::move(text.original), error, text.originalSaysMore});
}

inline Failure engineFailure(const Message& message, const std::vector<MessageArg>& args = {}) {
    return engineFailure(Failure::Kind::Database, message, args);
}

}  // namespace velloran::notes
