#include "dxl/MimeMessage.h"

#include "dxl/HtmlText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <utility>

namespace velloran::tools::dxl {

namespace {

constexpr int kMaxDepth = 16;           // multiparts nested deeper are kept whole, as an attachment
constexpr std::size_t kMaxParts = 10000;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// The entity's header block and its body, split at the first empty line.
std::pair<std::string_view, std::string_view> splitEntity(std::string_view entity) {
    if (entity.starts_with("\r\n")) return {{}, entity.substr(2)};
    if (entity.starts_with("\n")) return {{}, entity.substr(1)};
    std::size_t crlf = entity.find("\r\n\r\n"), lf = entity.find("\n\n");
    if (crlf == std::string_view::npos && lf == std::string_view::npos) return {entity, {}};
    if (crlf < lf) return {entity.substr(0, crlf + 2), entity.substr(crlf + 4)};
    return {entity.substr(0, lf + 1), entity.substr(lf + 2)};
}

// A structured header's value and its parameters, names in lower case.
struct Structured {
    std::string value;
    std::map<std::string, std::string> parameters;
};

std::vector<std::string_view> splitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && quoted) ++i;
        else if (text[i] == '"') quoted = !quoted;
        else if (text[i] == separator && !quoted) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(text.substr(std::min(start, text.size())));
    return parts;
}

std::string unquoted(std::string_view text) {
    text = trimmed(text);
    if (text.size() < 2 || text.front() != '"' || text.back() != '"') return std::string(text);
    std::string out;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] == '\\' && i + 2 < text.size()) ++i;
        out += text[i];
    }
    return out;
}

std::string percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto hex = [&](std::size_t at) {
            char c = at < text.size() ? text[at] : 'x';
            return std::isxdigit(static_cast<unsigned char>(c)) ? (c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10) : -1;
        };
        if (text[i] == '%' && hex(i + 1) >= 0 && hex(i + 2) >= 0) {
            out += static_cast<char>(hex(i + 1) * 16 + hex(i + 2));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// One RFC 2231 section of a parameter: "name*1*=..." is section 1, encoded.
struct Section {
    int index = 0;
    bool encoded = false;
    std::string value;
};

// The parameter's sections joined: encoded ones percent-decoded in the
// character set the first names ("UTF-8''%E4%B8%AD"), the others with
// their RFC 2047 words decoded (a common way to name a file).
std::string joinSections(std::vector<Section> sections, UnknownCharsets& unknown) {
    std::stable_sort(sections.begin(), sections.end(), [](const Section& a, const Section& b) { return a.index < b.index; });
    std::string charset, bytes, plain;
    for (std::size_t i = 0; i < sections.size(); ++i) {
        std::string_view value = sections[i].value;
        if (!sections[i].encoded) {
            plain += value;
            continue;
        }
        if (i == 0) {
            std::size_t quote = value.find('\''), second = quote == std::string_view::npos ? quote : value.find('\'', quote + 1);
            if (second != std::string_view::npos) {
                charset = std::string(value.substr(0, quote));
                value.remove_prefix(second + 1);
            }
        }
        bytes += percentDecoded(value);
    }
    if (bytes.empty()) return decodeHeaderText(plain, unknown);
    return toUtf8(bytes, charset, unknown) + decodeHeaderText(plain, unknown);
}

Structured parseStructured(std::string_view text, UnknownCharsets& unknown) {
    std::vector<std::string_view> parts = splitOutsideQuotes(text, ';');
    Structured out{lowerAscii(trimmed(parts[0])), {}};
    std::map<std::string, std::vector<Section>> sections;
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::size_t equals = parts[i].find('=');
        if (equals == std::string_view::npos) continue;
        std::string name = lowerAscii(trimmed(parts[i].substr(0, equals)));
        Section section{0, name.ends_with('*'), unquoted(parts[i].substr(equals + 1))};
        if (section.encoded) name.pop_back();
        if (std::size_t star = name.find('*'); star != std::string::npos) {
            std::from_chars(name.data() + star + 1, name.data() + name.size(), section.index);
            name.resize(star);
        }
        sections[name].push_back(std::move(section));
    }
    for (auto& [name, parameterSections] : sections) out.parameters[name] = joinSections(parameterSections, unknown);
    return out;
}

std::string lineEndsNormalized(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r') out += text[i];
        else if (i + 1 >= text.size() || text[i + 1] != '\n') out += '\n';
    }
    return out;
}

// Where the delimiter line "--boundary" begins at or after `from`: at the
// start of a line, followed by its line end, blanks or "--".
std::size_t findDelimiter(std::string_view body, const std::string& delimiter, std::size_t from) {
    for (std::size_t at = from; (at = body.find(delimiter, at)) != std::string_view::npos; ++at) {
        bool lineStart = at == 0 || body[at - 1] == '\n';
        std::size_t after = at + delimiter.size();
        bool lineRest = after == body.size() || isBlank(body[after]) || body[after] == '-';
        if (lineStart && lineRest) return at;
    }
    return std::string_view::npos;
}

// The parts of a multipart body, between its delimiter lines.
std::vector<std::string_view> splitMultipart(std::string_view body, const std::string& boundary) {
    std::vector<std::string_view> parts;
    std::string delimiter = "--" + boundary;
    std::size_t at = findDelimiter(body, delimiter, 0);
    while (at != std::string_view::npos) {
        if (body.substr(at + delimiter.size(), 2) == "--") break;  // the close delimiter
        std::size_t lineEnd = body.find('\n', at);
        std::size_t start = lineEnd == std::string_view::npos ? body.size() : lineEnd + 1;
        std::size_t next = findDelimiter(body, delimiter, start);
        std::size_t end = next == std::string_view::npos ? body.size() : next;
        // The line end before a delimiter belongs to the delimiter.
        if (end > start && next != std::string_view::npos && body[end - 1] == '\n') --end;
        if (end > start && next != std::string_view::npos && body[end - 1] == '\r') --end;
        parts.push_back(body.substr(start, end - start));
        at = next;
    }
    return parts;
}

std::string header(const std::vector<MailHeader>& headers, std::string_view name) {
    for (const MailHeader& header : headers)
        if (lowerAscii(header.name) == name) return header.value;
    return {};
}

// A file name without folders or control characters.
std::string safeFileName(std::string_view name) {
    std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
    std::string out;
    for (char c : name)
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) out += c;
    std::string_view kept = trimmed(out);
    return kept == "." || kept == ".." ? std::string() : std::string(kept);
}

std::string extensionOf(const std::string& type) {
    if (type == "text/plain") return ".txt";
    if (type == "text/html") return ".html";
    if (type == "message/rfc822") return ".eml";
    std::string subtype = type.substr(std::min(type.find('/') + 1, type.size()));
    subtype.erase(std::remove_if(subtype.begin(), subtype.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }),
                  subtype.end());
    return subtype.empty() || subtype.size() > 10 ? ".bin" : "." + subtype;
}

class MimeWalker {
public:
    MailBody read(std::string_view entity) {
        walk(entity, 0, "text/plain");
        bool html = plain_.empty();
        for (const std::string& text : html ? html_ : plain_) {
            if (!body_.text.empty()) body_.text += "\n\n";
            body_.text += html ? htmlToText(text) : text;
        }
        return std::move(body_);
    }

private:
    void walk(std::string_view entity, int depth, const std::string& defaultType) {
        if (++parts_ > kMaxParts) {
            if (parts_ == kMaxParts + 1) body_.problems.push_back("它有超过 " + std::to_string(kMaxParts) + " 个部分");
            return;
        }
        auto [head, body] = splitEntity(entity);
        std::vector<MailHeader> headers = parseMailHeaders(head);
        Structured type = parseStructured(header(headers, "content-type"), body_.unknownCharsets);
        if (type.value.empty()) type.value = defaultType;
        if (type.value.starts_with("multipart/")) {
            std::string boundary = type.parameters["boundary"];
            if (!boundary.empty() && depth < kMaxDepth) {
                std::string childType = type.value == "multipart/digest" ? "message/rfc822" : "text/plain";
                for (std::string_view part : splitMultipart(body, boundary)) walk(part, depth + 1, childType);
                return;
            }
            body_.problems.push_back(boundary.empty() ? "一个 multipart 部分没有分界线: 它作为附件保留"
                                                      : "其各部分嵌套太深: 内层的部分作为附件保留");
        }
        leaf(headers, type, body);
    }

    void leaf(const std::vector<MailHeader>& headers, Structured& type, std::string_view body) {
        Structured disposition = parseStructured(header(headers, "content-disposition"), body_.unknownCharsets);
        std::string name = disposition.parameters["filename"];
        if (name.empty()) name = type.parameters["name"];
        bool attached = disposition.value == "attachment" || !name.empty();
        std::string bytes = decodeTransfer(body, header(headers, "content-transfer-encoding"));
        if (!attached && (type.value == "text/plain" || type.value == "text/html")) {
            std::string text = lineEndsNormalized(toUtf8(bytes, type.parameters["charset"], body_.unknownCharsets));
            (type.value == "text/plain" ? plain_ : html_).push_back(std::move(text));
            return;
        }
        name = safeFileName(name);
        if (name.empty()) name = "part-" + std::to_string(body_.attachments.size() + 1) + extensionOf(type.value);
        body_.attachments.push_back({std::move(name), std::move(bytes)});
    }

    MailBody body_;
    std::vector<std::string> plain_, html_;
    std::size_t parts_ = 0;
};

}  // namespace

std::vector<MailHeader> parseMailHeaders(std::string_view text) {
    std::vector<MailHeader> headers;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) break;
        if (isBlank(line.front())) {
            if (!headers.empty()) headers.back().value += "\r\n" + std::string(line);
            continue;
        }
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        headers.push_back({std::string(trimmed(line.substr(0, colon))), std::string(trimmed(line.substr(colon + 1)))});
    }
    return headers;
}

MailBody readMimeEntity(std::string_view entity) { return MimeWalker().read(entity); }

}  // namespace velloran::tools::dxl
