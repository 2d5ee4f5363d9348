#pragma once
// Mail items' raw data built byte by byte, as the platform lays them out:
// little-endian descriptors followed by their texts.
#include <cstdint>
#include <string>

namespace velloran::tools::dxl {

inline std::string le16(std::uint32_t value) { return {static_cast<char>(value & 0xff), static_cast<char>(value >> 8 & 0xff)}; }
inline std::string le32(std::uint32_t value) { return le16(value & 0xffff) + le16(value >> 16); }

// An RFC 822 text item (type 0x0502); `typeWord` puts the type code first.
inline std::string rfc822Bytes(std::uint32_t flags, const std::string& native, const std::string& name,
                               const std::string& delimiter, const std::string& body, bool typeWord = false) {
    return (typeWord ? le16(0x0502) : "") + le16(14) + le32(flags) + le16(native.size()) + le16(name.size()) +
           le16(delimiter.size()) + le16(body.size()) + native + name + delimiter + body;
}

// A MIME part item (type 0x0019) of the part type `partType`.
inline std::string mimePartBytes(std::uint32_t flags, int partType, const std::string& boundary, const std::string& headers,
                                 const std::string& body, bool typeWord = false) {
    std::string bytes = boundary + headers + body;
    return (typeWord ? le16(0x0019) : "") + le16(2) + le32(flags) + static_cast<char>(partType) + '\0' +
           le16(bytes.size()) + le16(boundary.size()) + le16(headers.size()) + le16(0) + le32(0) + bytes;
}

}  // namespace velloran::tools::dxl
