#include "dxl/SplitTextDevice.h"

namespace velloran::tools::dxl {

namespace {

constexpr char kSplit[] = "<!---->";
constexpr std::int64_t kSplitLength = sizeof kSplit - 1;
// Lines whose comments are remembered: the reader is never further behind.
constexpr std::size_t kRememberedLines = 64;
constexpr qint64 kReadBlock = 16 * 1024;

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

bool isPlain(unsigned char byte) {
    return byte < 0x80 && byte != '<' && byte != '&' && byte != '\r' && byte != '\n';
}

}  // namespace

SplitTextDevice::SplitTextDevice(QIODevice& source) : source_(source) {
    open(QIODevice::ReadOnly);
}

qint64 SplitTextDevice::readData(char* data, qint64 maxSize) {
    while (pending_.isEmpty()) {
        QByteArray block = source_.read(kReadBlock);
        if (block.isEmpty()) return source_.atEnd() ? -1 : 0;
        pending_.reserve(block.size() + block.size() / kRunLength * kSplitLength + kSplitLength);
        for (qsizetype at = 0; at < block.size();) {
            qsizetype plain = plainText(block.constData() + at, block.size() - at);
            if (plain == 0) pass(block[at++], pending_);
            at += plain;
        }
    }
    qint64 size = std::min<qint64>(maxSize, pending_.size());
    std::copy_n(pending_.constData(), size, data);
    pending_.remove(0, size);
    return size;
}

void SplitTextDevice::pass(char byte, QByteArray& out) {
    if (state_ == State::Content && run_ >= kRunLength && canSplitBefore(static_cast<unsigned char>(byte))) {
        out.append(kSplit, kSplitLength);
        if (!inserts_.empty() && inserts_.back().line == line_) {
            ++inserts_.back().count;
            inserts_.back().lastColumn = column_;
        } else {
            inserts_.push_back({line_, 1, column_});
            if (inserts_.size() > kRememberedLines) inserts_.pop_front();
        }
        column_ += kSplitLength;
        run_ = 0;
    }
    out.append(byte);
    follow(byte);
    count(byte);
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
        if (state_ == State::Tag) follow(byte);
        return;
    case State::Bang:
        state_ = byte == '-' ? State::Comment : byte == '[' ? State::CData : State::Declaration;
        tail_ = 0;
        depth_ = 0;
        return;
    case State::Tag:
        if (quote_ != 0) {
            if (byte == quote_) quote_ = 0;
        } else if (byte == '"' || byte == '\'') {
            quote_ = byte;
        } else if (byte == '>') {
            state_ = State::Content;
        }
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
    }
}

// Keeps the reader's line and column: "\r\n", "\r" and "\n" end a line; a
// character beyond 16 bits takes two columns.
void SplitTextDevice::count(char byte) {
    unsigned char code = static_cast<unsigned char>(byte);
    bool secondHalfOfLineEnd = byte == '\n' && previous_ == '\r';
    if ((byte == '\n' || byte == '\r') && !secondHalfOfLineEnd) {
        ++line_;
        column_ = 0;
    } else if (!isContinuation(code) && !secondHalfOfLineEnd) {
        column_ += code >= 0xF0 ? 2 : 1;
    }
    previous_ = byte;
}

std::int64_t SplitTextDevice::fileColumn(std::int64_t line, std::int64_t column) const {
    for (const LineInserts& inserts : inserts_) {
        if (inserts.line != line) continue;
        std::int64_t before = inserts.lastColumn < column ? inserts.count : inserts.count - 1;
        return column - before * kSplitLength;
    }
    return column;
}

}  // namespace velloran::tools::dxl
