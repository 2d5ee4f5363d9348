#pragma once
// Reads an Internet mail in MIME form (RFC 2045, 2046): its headers, the
// text of its body and its attachments.
#include "dxl/MailEncodings.h"

#include <string>
#include <string_view>
#include <vector>

namespace velloran::tools::dxl {

struct MailHeader {
    std::string name;
    std::string value;  // as it came, folding included
};

// The header fields at the start of `text`, up to the first empty line.
std::vector<MailHeader> parseMailHeaders(std::string_view text);

struct MailAttachment {
    std::string name;
    std::string bytes;  // decoded
};

struct MailBody {
    // The text of the text/plain parts, or of the text/html parts when
    // there is no plain one, as UTF-8 with '\n' line ends.
    std::string text;
    // Parts with a Content-Disposition of attachment or a file name, and
    // parts that are no text (an image without a name ...), in order.
    std::vector<MailAttachment> attachments;
    UnknownCharsets unknownCharsets;
    std::vector<std::string> problems;  // what could not be read, and why
};

// Reads the MIME entity `entity` (headers, an empty line, the body),
// multipart bodies part by part, nested up to a bounded depth.
MailBody readMimeEntity(std::string_view entity);

}  // namespace velloran::tools::dxl
