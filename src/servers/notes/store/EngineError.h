#pragma once
// The one exception type the engine throws. Its text comes from the message
// catalogue: what() is written for the person using the program and says
// what failed and on which file or name; original() is the English text
// with the technical detail.
#include "api/EngineFailure.h"
#include "messages/Catalogue.h"

namespace velloran::notes {

class EngineError : public EngineFailure {
public:
    EngineError(const Message& message, const std::vector<MessageArg>& args = {})
        : EngineError(render(message, args)) {}

private:
    explicit EngineError(const RenderedMessage& text) : EngineFailure(text.shown, text.original) {}
};

}  // namespace velloran::notes
