#pragma once
// Ways a fuzz target turns libFuzzer's bytes into the arguments it needs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velloran::fuzz {

// The bytes as one string.
std::string asText(const std::uint8_t* data, std::size_t size);

// The bytes split at NUL bytes into exactly `count` fields: the last field
// keeps everything after the (count - 1)th NUL, missing fields are empty.
std::vector<std::string> fields(const std::uint8_t* data, std::size_t size, std::size_t count);

}  // namespace velloran::fuzz
