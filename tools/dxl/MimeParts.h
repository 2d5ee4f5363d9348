#pragma once
// Items of a MIME part (item type 0x0019): a received Internet mail keeps
// its body as several items of one name (Body), each holding one part of
// the message in order: the first holds the top-level headers, the next
// ones each a boundary line, the part's headers and its body.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velloran::tools::dxl {

inline constexpr std::uint16_t kMimePartType = 0x0019;

// Flags of a MIME part.
inline constexpr std::uint32_t kMimePartHasBoundary = 0x0001;
inline constexpr std::uint32_t kMimePartHasHeaders = 0x0002;
// The body is kept in an attached file; the part's body holds its name.
inline constexpr std::uint32_t kMimePartBodyInObject = 0x0004;

struct MimePartItem {
    std::uint32_t flags = 0;
    int partType = 0;      // prolog 1, body 2, epilog 3, retrieve info 4, message 5
    std::string boundary;  // the boundary line before the part, line ends included
    std::string headers;
    std::string body;      // as it came (content-transfer-encoded), or the file's name
    bool bodyInObject() const { return (flags & kMimePartBodyInObject) != 0; }
};

// Reads the 20-byte descriptor (version word, flags dword, part type byte,
// a spare byte, the byte count of what follows, the boundary's and the
// headers' lengths, a spare word and dword) and the part's bytes, with or
// without the item's leading type word. Nothing when a length runs past
// the data.
std::optional<MimePartItem> parseMimePartItem(std::string_view bytes);

// The MIME text the part stands for: its boundary line, headers and body,
// with the line ends the joins need; `body` stands in for its own body.
std::string mimePartText(const MimePartItem& part, std::string_view body);

}  // namespace velloran::tools::dxl
