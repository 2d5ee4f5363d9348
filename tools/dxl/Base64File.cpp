#include "dxl/Base64File.h"

#include "common/ToolError.h"

#include <cerrno>
#include <cstring>
#include <sodium.h>
#include <vector>

namespace velloran::tools::dxl {

namespace {

constexpr std::size_t kDecodeBlock = 64 * 1024;  // characters decoded at a time, a multiple of 4

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

Base64File::Base64File(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
    if (!file_) throw ToolError("Cannot write the temporary file " + path + ": " + std::strerror(errno));
}

Base64File::~Base64File() {
    if (file_) std::fclose(file_);
}

void Base64File::feed(std::string_view text) {
    for (char c : text)
        if (!isBlank(c)) pending_.push_back(c);
    if (pending_.size() >= kDecodeBlock) decodePending(false);
}

void Base64File::finish() {
    if (pending_.size() % 4 != 0) throw ToolError("the base64 data ends in the middle of a group of four characters");
    decodePending(true);
    std::FILE* file = file_;
    file_ = nullptr;
    if (std::fclose(file) != 0) throw ToolError("Cannot write the temporary file " + path_ + ": " + std::strerror(errno));
}

void Base64File::decodePending(bool last) {
    std::size_t count = last ? pending_.size() : pending_.size() / 4 * 4;
    if (count == 0) return;
    std::vector<unsigned char> bytes(count / 4 * 3);
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(bytes.data(), bytes.size(), pending_.data(), count, nullptr, &length, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0 ||
        end != pending_.data() + count)
        throw ToolError("the data is not valid base64");
    if (std::fwrite(bytes.data(), 1, length, file_) != length)
        throw ToolError("Cannot write the temporary file " + path_ + ": " + std::strerror(errno));
    pending_.erase(0, count);
}

}  // namespace velloran::tools::dxl
