#pragma once
// Encoding of a value list in one SQLite blob. Each value is a tag byte
// followed by its payload:
//   'T' text:      length (LEB128 varint) then UTF-8 bytes
//   'N' number:    8 bytes, IEEE 754 double, little-endian
//   'D' date-time: 8 bytes, signed milliseconds since 1970 UTC, little-endian
//   'd' date only: as 'D'
//   't' time only: as 'D' (the time of day on 1970-01-01)
#include "api/NotesApi.h"
#include "store/EngineError.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velloran::notes::store {

// Bytes that are not a valid encoding. Readers that know whose value it is
// throw of(owner) instead, so the message names the item and the database.
class DamagedValue : public Failure {
public:
    explicit DamagedValue(std::string reason);
    // The same damage told of what holds the value: `message` with `args`,
    // then the reason as its last argument.
    Failure of(const Message& message, std::vector<MessageArg> args) const;

private:
    std::string reason_;
};

std::vector<std::uint8_t> encodeValues(const ValueList& values);

// Throws DamagedValue when the bytes are not a valid encoding.
ValueList decodeValues(std::span<const std::uint8_t> bytes);

}  // namespace velloran::notes::store
