#pragma once
// Bytes taken as raw UTF-16 units, little-endian, so a target sees every
// text a QString can hold: lone surrogates and control characters included.
#include <QString>

#include <cstddef>
#include <cstdint>

namespace velloran::fuzz {

// An odd last byte is left out.
QString fromUtf16Units(const std::uint8_t* data, std::size_t size);

}  // namespace velloran::fuzz
