#include "dxl/MimeParts.h"

#include "dxl/ItemBytes.h"

namespace velloran::tools::dxl {

namespace {

std::optional<MimePartItem> parseDescriptor(std::string_view bytes) {
    constexpr std::size_t kDescriptorSize = 20;
    if (bytes.size() < kDescriptorSize) return std::nullopt;
    ItemBytes data(bytes);
    data.word();  // version
    std::uint32_t flags = *data.dword(), partType = *data.byte();
    data.byte();
    std::uint32_t byteCount = *data.word(), boundaryLength = *data.word(), headersLength = *data.word();
    data.take(6);  // spare word and dword
    if (boundaryLength + headersLength > byteCount || byteCount > data.left()) return std::nullopt;
    std::string_view boundary = *data.take(boundaryLength), headers = *data.take(headersLength),
                     body = *data.take(byteCount - boundaryLength - headersLength);
    return MimePartItem{flags, static_cast<int>(partType), std::string(boundary), std::string(headers),
                        std::string(body)};
}

bool endsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace

std::optional<MimePartItem> parseMimePartItem(std::string_view bytes) {
    return parseItemValue(bytes, kMimePartType, parseDescriptor);
}

std::string mimePartText(const MimePartItem& part, std::string_view body) {
    std::string text;
    if (!part.boundary.empty()) {
        // A boundary line starts a line of its own.
        if (part.boundary.front() != '\r' && part.boundary.front() != '\n') text += "\r\n";
        text += part.boundary;
        if (!endsWith(part.boundary, "\n")) text += "\r\n";
    }
    text += part.headers;
    // Headers end with an empty line, whether or not the item keeps it.
    if (text.empty() || endsWith(text, "\n")) {
        if (!endsWith(text, "\n\n") && !endsWith(text, "\n\r\n")) text += "\r\n";
    } else {
        text += "\r\n\r\n";
    }
    text += body;
    return text;
}

}  // namespace velloran::tools::dxl
