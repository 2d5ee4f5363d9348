#include "dxl/Base64File.h"

#include "common/ToolError.h"

#include <array>
#include <cerrno>
#include <cstring>

namespace velloran::tools::dxl {

namespace {

constexpr std::size_t kWriteBlock = 64 * 1024;  // decoded bytes written at a time

constexpr unsigned char kBlank = 64, kPad = 65, kInvalid = 255;

// Each ASCII character's six bits, or what else it is.
constexpr std::array<unsigned char, 128> kValues = [] {
    std::array<unsigned char, 128> values{};
    values.fill(kInvalid);
    const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    for (unsigned char i = 0; i < 64; ++i) values[static_cast<unsigned char>(alphabet[i])] = i;
    for (char blank : {' ', '\t', '\r', '\n'}) values[static_cast<unsigned char>(blank)] = kBlank;
    values['='] = kPad;
    return values;
}();

[[noreturn]] void notBase64() {
    throw ToolError("the data is not valid base64");
}

}  // namespace

Base64File::Base64File(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw ToolError("Cannot write the temporary file " + path + ": " + std::strerror(errno));
    bytes_.reserve(kWriteBlock + 3);
}

Base64File::~Base64File() {
    if (file_) std::fclose(file_);
}

template <typename Char>
void Base64File::decode(const Char* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        auto code = static_cast<std::make_unsigned_t<Char>>(text[i]);
        unsigned value = code < kValues.size() ? kValues[code] : kInvalid;
        if (value < 64 && padding_ == 0) {
            // The common case, kept short: a character inside unpadded data.
            group_ = group_ << 6 | value;
            if (++count_ == 4) emitGroup();
        } else if (value != kBlank) {
            take(value);
        }
    }
    if (bytes_.size() >= kWriteBlock) flush();
}

template void Base64File::decode<char>(const char*, std::size_t);
template void Base64File::decode<char16_t>(const char16_t*, std::size_t);

// Takes one character's value; a full group of four gives its bytes. '='
// may only end a group, in its third or fourth place, and ends the data.
void Base64File::take(unsigned value) {
    if (value == kInvalid) notBase64();
    if (value == kPad) {
        if (count_ < 2) notBase64();
        ++padding_;
        value = 0;
    } else if (padding_ > 0) {
        notBase64();
    }
    group_ = group_ << 6 | value;
    if (++count_ == 4) emitGroup();
}

// The bytes of a full group of four, fewer when it was padded.
void Base64File::emitGroup() {
    bytes_.push_back(static_cast<unsigned char>(group_ >> 16));
    if (padding_ < 2) bytes_.push_back(static_cast<unsigned char>(group_ >> 8));
    if (padding_ < 1) bytes_.push_back(static_cast<unsigned char>(group_));
    group_ = 0;
    count_ = 0;
}

void Base64File::flush() {
    if (std::fwrite(bytes_.data(), 1, bytes_.size(), file_) != bytes_.size())
        throw ToolError("Cannot write the temporary file " + path_ + ": " + std::strerror(errno));
    bytes_.clear();
}

void Base64File::finish() {
    if (count_ != 0) throw ToolError("the base64 data ends in the middle of a group of four characters");
    flush();
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) throw ToolError("Cannot write the temporary file " + path_ + ": " + std::strerror(errno));
}

}  // namespace velloran::tools::dxl
