#pragma once
// Items of RFC 822 header text (item type 0x0502), as a received Internet
// mail keeps its headers (Subject, From, SendTo, PostedDate ...): a
// descriptor, then the header in the platform's own form and as it came.
#include "api/NotesApi.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velloran::tools::dxl {

inline constexpr std::uint16_t kRfc822TextType = 0x0502;

// How the platform reads the header, in the low three bits of the flags.
enum class Rfc822Format { Other = 0, Address = 1, Date = 2, Text = 3 };

struct Rfc822Item {
    std::uint32_t flags = 0;
    std::string native;     // the platform's form: text, or an 8-byte time for a date
    std::string name;       // the header's name ("Subject")
    std::string delimiter;  // what came between name and body (": ")
    std::string body;       // the header's body as it came, RFC 2047 words and folding included
    Rfc822Format format() const { return static_cast<Rfc822Format>(flags & 0x7); }
};

// Reads the descriptor (version word, flags dword, then the lengths of the
// native text, the name, the delimiter and the body, a word each) and the
// four texts that follow it, with or without the item's leading type word.
// Nothing when a length runs past the data.
std::optional<Rfc822Item> parseRfc822Item(std::string_view bytes);

// An RFC 822 date such as "Mon, 20 Jul 2026 10:20:30 +0800" (weekday,
// seconds and zone optional, obsolete zone names and two-digit years read
// as RFC 822 says); nothing for other text.
std::optional<notes::DateTime> parseMailDate(std::string_view text);

}  // namespace velloran::tools::dxl
