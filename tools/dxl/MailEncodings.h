#pragma once
// The encodings of Internet mail: character sets by name, RFC 2047 encoded
// words in header text, and the content-transfer-encodings of bodies.
// Every function takes any bytes: what is malformed is kept as it stands.
#include <set>
#include <string>
#include <string_view>

namespace velloran::tools::dxl {

// Character set names met that the import cannot read, for its report.
using UnknownCharsets = std::set<std::string>;

// `bytes` in the character set `charset` as UTF-8. Names are matched
// without regard to case; gb2312 and gbk are read as GB18030, which holds
// them both. Bytes with no charset or an unknown one are kept as UTF-8
// where they are valid UTF-8 and read as Latin-1 otherwise; an unknown
// name is added to `unknown`.
std::string toUtf8(std::string_view bytes, std::string_view charset, UnknownCharsets& unknown);

// A header field's body as text: folded lines joined, encoded words
// ("=?GB2312?B?...?=", "=?UTF-8?Q?...?=") decoded, the blanks between two
// encoded words dropped, and blanks around the whole trimmed.
std::string decodeHeaderText(std::string_view text, UnknownCharsets& unknown);

// The bytes a body stands for under its Content-Transfer-Encoding (base64,
// quoted-printable; 7bit, 8bit, binary and unknown ones as they are).
std::string decodeTransfer(std::string_view body, std::string_view encoding);

// Base64 text decoded, skipping every character outside the alphabet and
// stopping at the padding.
std::string decodeBase64(std::string_view text);

// Quoted-printable text decoded; `underscoreIsBlank` for encoded words.
std::string decodeQuotedPrintable(std::string_view text, bool underscoreIsBlank = false);

// Lower-case ASCII copy, for names that compare without regard to case.
std::string lowerAscii(std::string_view text);

}  // namespace velloran::tools::dxl
