#include "dxl/Base64File.h"

#include "common/ToolError.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace velloran::tools::dxl {

namespace {

constexpr std::size_t kWriteBlock = 64 * 1024;  // decoded bytes written at a time, at most

constexpr unsigned char kBlank = 64, kPad = 65, kLineEnd = 66, kInvalid = 255;

// Each 8-bit character's six bits, or what else it is.
constexpr std::array<unsigned char, 256> kValues = [] {
    std::array<unsigned char, 256> values{};
    values.fill(kInvalid);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (unsigned char i = 0; i < 64; ++i) values[static_cast<unsigned char>(alphabet[i])] = i;
    values[' '] = values['\t'] = kBlank;
    values['\r'] = values['\n'] = kLineEnd;
    values['='] = kPad;
    return values;
}();

[[noreturn]] void notBase64() {
    throw toolFailure("数据不是有效的 base64");
}

template <typename Char>
unsigned valueOf(Char c) {
    auto code = static_cast<std::make_unsigned_t<Char>>(c);
    return code < kValues.size() ? kValues[code] : kInvalid;
}

}  // namespace

Base64File::Base64File(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw toolFailure("无法写入临时文件 " + path + ": " + std::strerror(errno));
}

Base64File::~Base64File() {
    if (file_) std::fclose(file_);
}

// Decodes `text`; with kStopAtOther it stops before a line end or a
// character that is not base64, which otherwise are a blank and an error.
template <bool kStopAtOther, typename Char>
std::size_t Base64File::decode(const Char* text, std::size_t size) {
    std::size_t i = 0;
    while (i < size) {
        if (count_ == 0 && padding_ == 0) {
            // The bulk of any data, kept short: whole groups of four.
            for (; i + 4 <= size; i += 4) {
                unsigned a = valueOf(text[i]), b = valueOf(text[i + 1]), c = valueOf(text[i + 2]), d = valueOf(text[i + 3]);
                if ((a | b | c | d) >= 64) break;
                put(a << 18 | b << 12 | c << 6 | d, 3);
            }
            if (i == size) break;
        }
        unsigned value = valueOf(text[i]);
        if (value == kLineEnd || value == kInvalid) {
            if (kStopAtOther) break;
            if (value == kInvalid) notBase64();
        } else if (value != kBlank) {
            take(value);
        }
        ++i;
    }
    return i;
}

template std::size_t Base64File::decode<false, char>(const char*, std::size_t);
template std::size_t Base64File::decode<false, char16_t>(const char16_t*, std::size_t);
template std::size_t Base64File::decode<true, char>(const char*, std::size_t);

// Takes one character's value; a full group of four gives its bytes. '='
// may only end a group, in its third or fourth place, and ends the data.
void Base64File::take(unsigned value) {
    if (value == kPad) {
        if (count_ < 2) notBase64();
        ++padding_;
        value = 0;
    } else if (padding_ > 0) {
        notBase64();
    }
    group_ = group_ << 6 | value;
    if (++count_ < 4) return;
    put(group_, 3 - padding_);
    group_ = 0;
    count_ = 0;
}

// Keeps the first `size` of the three bytes of `group`.
void Base64File::put(std::uint32_t group, int size) {
    if (filled_ + 3 > bytes_.size()) makeRoom();
    unsigned char* out = bytes_.data() + filled_;
    out[0] = static_cast<unsigned char>(group >> 16);
    out[1] = static_cast<unsigned char>(group >> 8);
    out[2] = static_cast<unsigned char>(group);
    filled_ += static_cast<std::size_t>(size);
}

void Base64File::makeRoom() {
    flush();
    bytes_.resize(kWriteBlock);
}

void Base64File::flush() {
    if (filled_ == 0) return;
    if (!file_) file_ = std::fopen(path_.c_str(), "ab");
    if (!file_ || std::fwrite(bytes_.data(), 1, filled_, file_) != filled_)
        throw toolFailure("无法写入临时文件 " + path_ + ": " + std::strerror(errno));
    filled_ = 0;
}

void Base64File::close() {
    std::FILE* file = std::exchange(file_, nullptr);
    if (file && std::fclose(file) != 0)
        throw toolFailure("无法写入临时文件 " + path_ + ": " + std::strerror(errno));
}

void Base64File::pause() {
    flush();
    close();
    std::vector<unsigned char>().swap(bytes_);
}

void Base64File::finish() {
    if (count_ != 0) throw toolFailure("base64 数据在一组四个字符的中间结束");
    flush();
    close();
}

}  // namespace velloran::tools::dxl
