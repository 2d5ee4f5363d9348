#pragma once
// Encoding of a value list in one SQLite blob. Each value is a tag byte
// followed by its payload:
//   'T' text:      length (LEB128 varint) then UTF-8 bytes
//   'N' number:    8 bytes, IEEE 754 double, little-endian
//   'D' date-time: 8 bytes, signed milliseconds since 1970 UTC, little-endian
//   'd' date only: as 'D'
#include "api/NotesApi.h"

#include <cstdint>
#include <span>
#include <vector>

namespace velloran::notes::store {

std::vector<std::uint8_t> encodeValues(const ValueList& values);

// Throws EngineError when the bytes are not a valid encoding.
ValueList decodeValues(std::span<const std::uint8_t> bytes);

}  // namespace velloran::notes::store
