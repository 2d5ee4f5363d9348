#pragma once
// Reads the little-endian descriptors that begin the raw data of an item:
// every read is checked against the data's end.
#include <cstdint>
#include <optional>
#include <string_view>

namespace velloran::tools::dxl {

class ItemBytes {
public:
    explicit ItemBytes(std::string_view bytes) : bytes_(bytes) {}

    // The next 1, 2 or 4 bytes as a number, or the next `size` bytes;
    // nothing (and no move) when the data ends before them.
    std::optional<std::uint32_t> byte() { return number(1); }
    std::optional<std::uint32_t> word() { return number(2); }
    std::optional<std::uint32_t> dword() { return number(4); }
    std::optional<std::string_view> take(std::size_t size) {
        if (size > bytes_.size() - at_) return std::nullopt;
        std::string_view part = bytes_.substr(at_, size);
        at_ += size;
        return part;
    }
    std::size_t left() const { return bytes_.size() - at_; }

private:
    std::optional<std::uint32_t> number(std::size_t size) {
        std::optional<std::string_view> part = take(size);
        if (!part) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = size; i-- > 0;) value = (value << 8) | static_cast<unsigned char>((*part)[i]);
        return value;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
};

// The item's value as its descriptor begins, without the 2-byte type code
// that may come first (the export writes the type in an attribute too).
template <typename Parse>
auto parseItemValue(std::string_view bytes, std::uint16_t type, Parse parse) -> decltype(parse(bytes)) {
    ItemBytes first(bytes);
    if (first.word() == type)
        if (auto parsed = parse(bytes.substr(2))) return parsed;
    return parse(bytes);
}

}  // namespace velloran::tools::dxl
