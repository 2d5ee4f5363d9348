#pragma once
// The data tools report in English; the engine's failures carry their
// English text beside the Chinese one the window shows.
#include "api/EngineFailure.h"

#include <exception>
#include <string>

namespace velloran::tools {

inline std::string englishReason(const std::exception& error) {
    if (const auto* engine = dynamic_cast<const notes::EngineFailure*>(&error)) return engine->original();
    return error.what();
}

}  // namespace velloran::tools
