#include "dxl/SplitTextDevice.h"

#include <algorithm>
#include <string_view>

namespace velloran::tools::dxl {

namespace {

constexpr char kSplit[] = "<!---->";
constexpr std::int64_t kSplitLength = sizeof kSplit - 1;
// Column shifts remembered: the reader is never further behind. Each one is
// a split of a long text or a <filedata> element, and the device reads only
// a block ahead of the reader.
constexpr std::size_t kRememberedShifts = 16384;
constexpr qint64 kReadBlock = 16 * 1024;
// Longer tag names are never "filedata", with any prefix.
constexpr std::size_t kLongestTagName = 64;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool isPlain(unsigned char byte) {
    return byte < 0x80 && byte != '<' && byte != '&' && byte != '\r' && byte != '\n';
}

bool endsTagName(char byte) {
    return byte == ' ' || byte == '\t' || byte == '\r' || byte == '\n' || byte == '/' || byte == '>';
}

// Whether a tag's name is "filedata", with or without a prefix.
bool namesFileData(const std::string& name) {
    constexpr std::string_view kName = "filedata";
    return name.ends_with(kName) && (name.size() == kName.size() || name[name.size() - kName.size() - 1] == ':');
}

}  // namespace

SplitTextDevice::SplitTextDevice(QIODevice& source) : input_(source) {
    open(QIODevice::ReadOnly);
}

qint64 SplitTextDevice::readData(char* data, qint64 maxSize) {
    while (pending_.isEmpty()) {
        QByteArray block = input_.read(kReadBlock);
        if (block.isEmpty()) {
            if (!input_.atEnd()) return 0;
            if (state_ != State::FileData) return -1;
            endDiversion();  // the file ends inside <filedata>: the reader tells
            continue;
        }
        pending_.reserve(block.size() + block.size() / kRunLength * kSplitLength + kSplitLength);
        for (qsizetype at = 0; at < block.size();) {
            if (state_ == State::FileData) {
                at += divert(block.constData() + at, block.size() - at);
                continue;
            }
            qsizetype plain = plainText(block.constData() + at, block.size() - at);
            if (plain == 0) pass(block[at++]);
            at += plain;
        }
    }
    qint64 size = std::min<qint64>(maxSize, pending_.size());
    std::copy_n(pending_.constData(), size, data);
    pending_.remove(0, size);
    return size;
}

void SplitTextDevice::pass(char byte) {
    if (state_ == State::Content && run_ >= kRunLength && canSplitBefore(static_cast<unsigned char>(byte))) split();
    pending_.append(byte);
    follow(byte);
    count(byte);
}

void SplitTextDevice::split() {
    insert(kSplit, kSplitLength);
    run_ = 0;
}

// Puts `text` into what the reader gets; the columns after it shift.
void SplitTextDevice::insert(const char* text, std::int64_t size) {
    pending_.append(text, size);
    shift_ += size;
    shifts_.push_back({line_, column_, shift_});
    if (shifts_.size() > kRememberedShifts) shifts_.pop_front();
    column_ += size;
}

// Bytes of text that need none of pass()'s care, counted and copied at
// once: ASCII other than markup, entities and line ends, in content, short
// of where the run is to be split.
qsizetype SplitTextDevice::plainText(const char* bytes, qsizetype size) {
    if (state_ != State::Content || inEntity_ || previous_ == '\r') return 0;
    qsizetype limit = std::min<qsizetype>(size, kRunLength - run_);
    qsizetype count = 0;
    while (count < limit && isPlain(static_cast<unsigned char>(bytes[count]))) ++count;
    if (count == 0) return 0;
    pending_.append(bytes, count);
    run_ += count;
    column_ += count;
    previous_ = bytes[count - 1];
    return count;
}

bool SplitTextDevice::canSplitBefore(unsigned char byte) const {
    return !inEntity_ && !isContinuation(byte) && byte != '\n' && previous_ != '\r';
}

qsizetype SplitTextDevice::divert(const char* bytes, qsizetype size) {
    qsizetype at = 0;
    while (at < size) {
        if (bytes[at] == '\n' || bytes[at] == '\r') {
            divertLineEnd(bytes[at++]);
            continue;
        }
        auto taken = static_cast<qsizetype>(spool_.feed(bytes + at, static_cast<std::size_t>(size - at)));
        if (taken == 0) {
            endDiversion();
            break;
        }
        at += taken;
        shift_ -= taken;
        previous_ = bytes[at - 1];
    }
    return at;
}

void SplitTextDevice::divertLineEnd(char byte) {
    bool secondHalf = byte == '\n' && previous_ == '\r';
    previous_ = byte;
    if (secondHalf) return;
    if (run_ >= kRunLength) split();
    pending_.append('\n');
    ++run_;
    newLine();
}

// Hands the reader the stand-in for the diverted text; what follows is the
// reader's again.
void SplitTextDevice::endDiversion() {
    std::string standIn = spool_.end();
    insert(standIn.data(), static_cast<std::int64_t>(standIn.size()));
    run_ += static_cast<std::int64_t>(standIn.size());
    previous_ = standIn.back();
    state_ = State::Content;
}

// Follows the markup: only text outside tags, comments, sections,
// instructions and declarations may be split.
void SplitTextDevice::follow(char byte) {
    switch (state_) {
    case State::Content:
        if (byte == '<') state_ = State::Open, inEntity_ = false;
        else if (byte == '&') inEntity_ = true;
        else if (byte == ';') inEntity_ = false;
        ++run_;
        if (byte == '<') run_ = 0;
        return;
    case State::Open:
        state_ = byte == '!' ? State::Bang : byte == '?' ? State::Instruction : State::Tag;
        if (state_ == State::Tag) {
            tag_.clear();
            inTagName_ = true;
            followTag(byte);
        }
        return;
    case State::Bang:
        state_ = byte == '-' ? State::Comment : byte == '[' ? State::CData : State::Declaration;
        tail_ = 0;
        depth_ = 0;
        return;
    case State::Tag:
        followTag(byte);
        return;
    case State::Comment:  // ends with "-->"
        if (byte == '>' && tail_ >= 2) state_ = State::Content;
        tail_ = byte == '-' ? tail_ + 1 : 0;
        return;
    case State::CData:  // ends with "]]>"
        if (byte == '>' && tail_ >= 2) state_ = State::Content;
        tail_ = byte == ']' ? tail_ + 1 : 0;
        return;
    case State::Instruction:  // ends with "?>"
        if (byte == '>' && tail_ >= 1) state_ = State::Content;
        tail_ = byte == '?' ? 1 : 0;
        return;
    case State::Declaration:
        if (byte == '[') ++depth_;
        else if (byte == ']') --depth_;
        else if (byte == '>' && depth_ <= 0) state_ = State::Content;
        return;
    case State::FileData:  // its bytes go to divert()
        return;
    }
}

// Follows a tag, noting its name: the text after a <filedata> start tag is
// diverted. An end tag's name, after "/", is never noted.
void SplitTextDevice::followTag(char byte) {
    if (inTagName_) {
        if (!endsTagName(byte)) {
            if (tag_.size() < kLongestTagName) tag_ += byte;
            else tag_.clear(), inTagName_ = false;
            return;
        }
        inTagName_ = false;
    }
    if (quote_ != 0) {
        if (byte == quote_) quote_ = 0;
    } else if (byte == '"' || byte == '\'') {
        quote_ = byte;
    } else if (byte == '>') {
        bool divert = previous_ != '/' && namesFileData(tag_) && spool_.start();
        state_ = divert ? State::FileData : State::Content;
    }
}

// Keeps the reader's line and column: "\r\n", "\r" and "\n" end a line; a
// character beyond 16 bits takes two columns.
void SplitTextDevice::count(char byte) {
    unsigned char code = static_cast<unsigned char>(byte);
    bool secondHalfOfLineEnd = byte == '\n' && previous_ == '\r';
    if ((byte == '\n' || byte == '\r') && !secondHalfOfLineEnd) newLine();
    else if (!isContinuation(code) && !secondHalfOfLineEnd) column_ += code >= 0xF0 ? 2 : 1;
    previous_ = byte;
}

void SplitTextDevice::newLine() {
    ++line_;
    column_ = 0;
    shift_ = 0;
}

std::int64_t SplitTextDevice::fileColumn(std::int64_t line, std::int64_t column) const {
    // The last shift on the line before the column applies.
    auto after = std::partition_point(shifts_.begin(), shifts_.end(), [&](const Shift& shift) {
        return shift.line < line || (shift.line == line && shift.column < column);
    });
    if (after == shifts_.begin() || std::prev(after)->line != line) return column;
    return column - std::prev(after)->shift;
}

}  // namespace velloran::tools::dxl
