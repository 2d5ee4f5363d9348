#include "dxl/Utf8Input.h"

#include <algorithm>
#include <string_view>

namespace velloran::tools::dxl {

namespace {

// The start of the file read before anything is handed on: the XML
// declaration must end within it.
constexpr qsizetype kHeadSize = 16 * 1024;
constexpr qsizetype kUtf8MarkSize = 3;
// What some decoders put in place of bytes they cannot read, instead of
// U+FFFD.
constexpr char16_t kSubstitute = 0x1A;

// The XML declaration at the start of a text, read as ASCII.
struct XmlDeclaration {
    bool ends = true;       // false when it begins but does not end within the text
    std::size_t length = 0; // up to and with its "?>"; 0 when there is none
    // The pseudo-attribute "encoding='…'"; empty when there is none.
    std::size_t encodingBegin = 0;
    std::size_t encodingEnd = 0;
    std::string encoding;   // its value
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) ++at;
    return at;
}

std::string_view viewOf(const QByteArray& bytes) { return {bytes.constData(), static_cast<std::size_t>(bytes.size())}; }

// Finds `encoding = "value"` (either quote) after a blank in the
// declaration's text.
void findEncoding(std::string_view inside, XmlDeclaration& declaration) {
    constexpr std::string_view kName = "encoding";
    for (std::size_t at = inside.find(kName); at != std::string_view::npos; at = inside.find(kName, at + 1)) {
        if (!isBlank(inside[at - 1])) continue;
        std::size_t next = skipBlanks(inside, at + kName.size());
        if (next >= inside.size() || inside[next] != '=') continue;
        next = skipBlanks(inside, next + 1);
        if (next >= inside.size() || (inside[next] != '"' && inside[next] != '\'')) continue;
        std::size_t close = inside.find(inside[next], next + 1);
        if (close == std::string_view::npos) continue;
        declaration.encodingBegin = at;
        declaration.encodingEnd = close + 1;
        declaration.encoding = inside.substr(next + 1, close - next - 1);
        return;
    }
}

XmlDeclaration readDeclaration(std::string_view text) {
    XmlDeclaration declaration;
    constexpr std::string_view kOpen = "<?xml";
    if (text.size() <= kOpen.size() || !text.starts_with(kOpen) || !isBlank(text[kOpen.size()])) return declaration;
    std::size_t close = text.find("?>");
    if (close == std::string_view::npos) {
        declaration.ends = false;
        return declaration;
    }
    declaration.length = close + 2;
    findEncoding(text.substr(0, close), declaration);
    return declaration;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Whether `name` is an encoding's name as XML writes it.
bool isEncodingName(std::string_view name) {
    return !name.empty() && isAsciiLetter(name[0]) && std::all_of(name.begin(), name.end(), [](char c) {
        return isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    });
}

// The length of `text` before its first lone surrogate or, when the
// decoder met bytes it could not read, before the first character it put
// in their place (a U+FFFD that the file itself holds before them in the
// same piece is taken for it: the file is refused all the same).
qsizetype soundLength(QStringView text, bool decoderFailed) {
    for (qsizetype at = 0; at < text.size(); ++at) {
        QChar c = text[at];
        if (decoderFailed && (c == QChar::ReplacementCharacter || c == QChar(kSubstitute))) return at;
        if (c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate()) ++at;
        else if (c.isSurrogate()) return at;
    }
    return text.size();
}

}  // namespace

QByteArray Utf8Input::read(qint64 size) {
    switch (state_) {
    case State::Start:
        return begin();
    case State::Passing:
        return source_.read(size);
    case State::Transcoding:
        return nextTranscoded(size);
    case State::Stopped:
        break;
    }
    return {};
}

bool Utf8Input::atEnd() const {
    return state_ == State::Stopped || (state_ != State::Start && source_.atEnd() && carried_.isEmpty());
}

QByteArray Utf8Input::begin() {
    while (head_.size() < kHeadSize) {
        QByteArray more = source_.read(kHeadSize - head_.size());
        if (more.isEmpty()) {
            if (!source_.atEnd()) return {};
            break;
        }
        head_ += more;
    }
    std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(head_, u'<');
    if (!marked) useDeclaredEncoding();
    else if (*marked != QStringConverter::Utf8) decoder_.emplace(*marked);
    if (state_ == State::Stopped) return {};
    state_ = decoder_ ? State::Transcoding : State::Passing;
    QByteArray text = decoder_ ? transcode(head_) : head_;
    head_ = QByteArray();
    // A UTF-8 byte order mark goes on to the reader; a decoder drops any other.
    std::size_t start = marked == QStringConverter::Utf8 ? kUtf8MarkSize : 0;
    XmlDeclaration declaration = readDeclaration(viewOf(text).substr(std::min<std::size_t>(start, text.size())));
    if (!declaration.ends && state_ != State::Stopped) {
        stop("XML 声明没有在文件的前 " + std::to_string(kHeadSize) + " 个字节内结束");
        return {};
    }
    std::fill(text.begin() + start + declaration.encodingBegin, text.begin() + start + declaration.encodingEnd, ' ');
    return text;
}

// The declaration is read as ASCII, which every encoding it may name
// must keep as it is: decoded, the declaration must still say the same.
void Utf8Input::useDeclaredEncoding() {
    XmlDeclaration declaration = readDeclaration(viewOf(head_));
    const std::string& name = declaration.encoding;
    bool named = declaration.encodingEnd > 0;
    if (!named || QStringConverter::encodingForName(name.c_str()) == QStringConverter::Utf8) return;
    std::optional<QStringDecoder> check;
    if (isEncodingName(name)) check.emplace(name.c_str());
    if (!check || !check->isValid())
        return stop("文件的编码为 \"" + name + "\"，本程序不认识这种编码");
    QByteArrayView declared = QByteArrayView(head_).first(static_cast<qsizetype>(declaration.length));
    if (QString(check->decode(declared)) != QLatin1StringView(declared))
        return stop("XML 声明的编码为 \"" + name + "\"，但声明本身不是用这种编码写的");
    decoder_.emplace(name.c_str());
}

QByteArray Utf8Input::nextTranscoded(qint64 size) {
    while (state_ == State::Transcoding) {
        QByteArray bytes = source_.read(size);
        if (bytes.isEmpty()) {
            if (source_.atEnd() && !carried_.isEmpty()) stopAtInvalidText();
            return {};
        }
        QByteArray text = transcode(bytes);
        if (!text.isEmpty()) return text;
    }
    return {};
}

// Decodes `bytes` and encodes them as UTF-8, up to the first that cannot
// be read; a surrogate pair split between two reads is kept whole.
QByteArray Utf8Input::transcode(QByteArrayView bytes) {
    QString text = carried_ + QString(decoder_->decode(bytes));
    carried_.clear();
    if (!text.isEmpty() && text.back().isHighSurrogate()) {
        carried_ = text.back();
        text.chop(1);
    }
    qsizetype sound = soundLength(text, decoder_->hasError());
    QByteArray utf8 = QStringView(text).first(sound).toUtf8();
    // A decoder's error stays: the bytes it met are in this piece even when
    // no character in their place was found.
    if (sound < text.size() || decoder_->hasError()) stopAtInvalidText();
    return utf8;
}

void Utf8Input::stopAtInvalidText() {
    stop("这里的字节不是文件的编码 " + std::string(decoder_->name()) + " 的有效文本");
}

void Utf8Input::stop(std::string error) {
    state_ = State::Stopped;
    error_ = std::move(error);
    head_ = QByteArray();
    carried_.clear();
}

}  // namespace velloran::tools::dxl
