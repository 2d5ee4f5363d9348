#pragma once
// A property a fuzz target checks on what the code under test gave back.
// A broken property aborts, so libFuzzer keeps the input that broke it and
// the replay driver fails on it.
#include <cstdio>
#include <cstdlib>
#include <string>

namespace velloran::fuzz {

[[noreturn]] inline void brokenProperty(const std::string& property) {
    std::fprintf(stderr, "Broken property: %s\n", property.c_str());
    std::abort();
}

inline void require(bool holds, const char* property) {
    if (!holds) brokenProperty(property);
}

}  // namespace velloran::fuzz
