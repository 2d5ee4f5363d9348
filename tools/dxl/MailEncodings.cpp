#include "dxl/MailEncodings.h"

#include <QString>
#include <QStringDecoder>

#include <array>
#include <cctype>
#include <cstdint>
#include <optional>

namespace velloran::tools::dxl {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string fromQString(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    return {utf8.constData(), static_cast<std::size_t>(utf8.size())};
}

// Bytes that claim no character set we can read: UTF-8 when they are, else Latin-1.
std::string utf8OrLatin1(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return std::string(bytes);
    return fromQString(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// The name Qt knows a mail character set by; GB18030 holds GB2312 and GBK.
std::string decoderName(const std::string& charset) {
    static constexpr std::array<std::string_view, 6> kChinese = {"gb2312", "gbk", "x-gbk", "cp936", "euc-cn", "x-gb2312"};
    for (std::string_view name : kChinese)
        if (charset == name) return "GB18030";
    if (charset == "utf8") return "UTF-8";
    return charset;
}

bool isAscii(const std::string& charset) {
    return charset.empty() || charset == "us-ascii" || charset == "ascii" || charset == "ansi_x3.4-1968";
}

struct EncodedWord {
    std::string charset;
    std::string bytes;
    std::size_t end = 0;  // just after its "?="
};

// Where the encoded words of a header may end and the blanks they cannot
// hold. Asked with positions that only grow, as a header is read from its
// start, each looks at a character once however often it is asked: a
// header full of beginnings of encoded words takes linear time.
class WordEnds {
public:
    explicit WordEnds(std::string_view text) : text_(text) {}
    // The first "?=" at or after `at`.
    std::size_t closeFrom(std::size_t at) { return cached(close_, at, [&] { return text_.find("?=", at); }); }
    std::size_t blankFrom(std::size_t at) { return cached(blank_, at, [&] { return text_.find_first_of(" \t", at); }); }

private:
    struct Found {
        std::size_t at = 0;
        bool known = false;
    };

    template <typename Find>
    static std::size_t cached(Found& found, std::size_t at, Find find) {
        if (!found.known || (found.at != std::string_view::npos && found.at < at)) found = {find(), true};
        return found.at;
    }

    std::string_view text_;
    Found close_, blank_;
};

// The encoded word "=?charset[*lang]?B|Q?text?=" at `at`, if one is there.
std::optional<EncodedWord> encodedWordAt(std::string_view text, std::size_t at, WordEnds& ends) {
    if (text.substr(at, 2) != "=?") return std::nullopt;
    std::size_t charsetEnd = text.find('?', at + 2);
    if (charsetEnd == std::string_view::npos || charsetEnd + 2 >= text.size() || text[charsetEnd + 2] != '?')
        return std::nullopt;
    char encoding = static_cast<char>(std::toupper(static_cast<unsigned char>(text[charsetEnd + 1])));
    std::size_t textStart = charsetEnd + 3;
    std::size_t close = ends.closeFrom(textStart);
    if (close == std::string_view::npos || ends.blankFrom(at) < close || (encoding != 'B' && encoding != 'Q'))
        return std::nullopt;
    std::string_view encoded = text.substr(textStart, close - textStart);
    std::string charset = lowerAscii(text.substr(at + 2, charsetEnd - at - 2));
    charset = charset.substr(0, charset.find('*'));  // RFC 2231 language suffix
    return EncodedWord{charset, encoding == 'B' ? decodeBase64(encoded) : decodeQuotedPrintable(encoded, true),
                       close + 2};
}

// Header text with folding undone: a line end followed by a blank goes.
std::string unfold(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

std::string trimmed(std::string text) {
    std::size_t start = 0, end = text.size();
    while (start < end && isBlank(text[start])) ++start;
    while (end > start && isBlank(text[end - 1])) --end;
    return text.substr(start, end - start);
}

}  // namespace

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string toUtf8(std::string_view bytes, std::string_view charset, UnknownCharsets& unknown) {
    std::string name = lowerAscii(charset);
    if (isAscii(name)) return utf8OrLatin1(bytes);
    QStringDecoder decoder(decoderName(name).c_str(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid()) {
        unknown.insert(name);
        return utf8OrLatin1(bytes);
    }
    return fromQString(decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))));
}

std::string decodeHeaderText(std::string_view folded, UnknownCharsets& unknown) {
    std::string text = unfold(folded);
    WordEnds ends(text);
    std::string out, plain;  // plain: the text since the last encoded word
    std::string pendingCharset, pendingBytes;  // encoded words not yet decoded
    bool pending = false, afterWord = false;
    auto flush = [&] {
        if (pending) out += toUtf8(pendingBytes, pendingCharset, unknown);
        pending = false;
        pendingBytes.clear();
    };
    for (std::size_t at = 0; at < text.size();) {
        std::optional<EncodedWord> word = encodedWordAt(text, at, ends);
        if (!word) {
            plain += text[at++];
            continue;
        }
        bool blanksBetweenWords = afterWord && plain.find_first_not_of(" \t") == std::string::npos;
        // Adjacent words of one character set are decoded together: a
        // character's bytes may be split between them.
        if (!(blanksBetweenWords && word->charset == pendingCharset)) {
            flush();
            if (!blanksBetweenWords) out += utf8OrLatin1(plain);
        }
        plain.clear();
        pending = afterWord = true;
        pendingCharset = word->charset;
        pendingBytes += word->bytes;
        at = word->end;
    }
    flush();
    out += utf8OrLatin1(plain);
    return trimmed(std::move(out));
}

std::string decodeTransfer(std::string_view body, std::string_view encoding) {
    std::string name = trimmed(lowerAscii(encoding));
    if (name == "base64") return decodeBase64(body);
    if (name == "quoted-printable") return decodeQuotedPrintable(body);
    return std::string(body);
}

std::string decodeBase64(std::string_view text) {
    std::string out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t group = 0;
    int count = 0;
    for (char c : text) {
        int value;
        if (c >= 'A' && c <= 'Z') value = c - 'A';
        else if (c >= 'a' && c <= 'z') value = c - 'a' + 26;
        else if (c >= '0' && c <= '9') value = c - '0' + 52;
        else if (c == '+') value = 62;
        else if (c == '/') value = 63;
        else if (c == '=') break;
        else continue;
        group = (group << 6) | static_cast<std::uint32_t>(value);
        if (++count == 4) {
            out += static_cast<char>(group >> 16);
            out += static_cast<char>(group >> 8);
            out += static_cast<char>(group);
            group = 0;
            count = 0;
        }
    }
    if (count >= 2) out += static_cast<char>(group >> (count * 6 - 8));
    if (count == 3) out += static_cast<char>(group >> 2);
    return out;
}

std::string decodeQuotedPrintable(std::string_view text, bool underscoreIsBlank) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '_' && underscoreIsBlank) {
            out += ' ';
        } else if (c != '=') {
            out += c;
        } else if (i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else if (text.substr(i + 1, 2) == "\r\n") {
            i += 2;  // a soft line break
        } else if (text.substr(i + 1, 1) == "\n") {
            i += 1;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace velloran::tools::dxl
