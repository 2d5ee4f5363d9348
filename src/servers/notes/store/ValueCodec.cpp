#include "store/ValueCodec.h"


#include <bit>
#include <cstring>

namespace velloran::notes::store {

namespace {

void putVarint(std::vector<std::uint8_t>& out, std::uint64_t value) {
    do {
        std::uint8_t byte = value & 0x7f;
        value >>= 7;
        out.push_back(value ? byte | 0x80 : byte);
    } while (value);
}

void putFixed(std::vector<std::uint8_t>& out, std::uint64_t bits) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool done() const { return at_ == bytes_.size(); }
    std::uint8_t byte() {
        need(1);
        return bytes_[at_++];
    }
    std::uint64_t varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            std::uint8_t b = byte();
            value |= std::uint64_t(b & 0x7f) << shift;
            if (!(b & 0x80)) return value;
        }
        throw DamagedValue("bad length");
    }
    std::uint64_t fixed() {
        need(8);
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= std::uint64_t(bytes_[at_ + i]) << (8 * i);
        at_ += 8;
        return bits;
    }
    std::string text(std::uint64_t length) {
        need(length);
        std::string s(reinterpret_cast<const char*>(bytes_.data() + at_), length);
        at_ += length;
        return s;
    }

private:
    void need(std::uint64_t count) const {
        if (count > bytes_.size() - at_) throw DamagedValue("truncated");
    }
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

struct Encoder {
    std::vector<std::uint8_t>& out;
    void operator()(const std::string& text) const {
        out.push_back('T');
        putVarint(out, text.size());
        out.insert(out.end(), text.begin(), text.end());
    }
    void operator()(double number) const {
        out.push_back('N');
        putFixed(out, std::bit_cast<std::uint64_t>(number));
    }
    void operator()(const DateTime& moment) const {
        out.push_back(!moment.hasDate ? 't' : moment.hasTime ? 'D' : 'd');
        putFixed(out, static_cast<std::uint64_t>(moment.msecsSinceEpoch));
    }
};

}  // namespace

DamagedValue::DamagedValue(std::string reason)
    : Failure(engineFailure(msg::kDamagedValue, {reason})), reason_(std::move(reason)) {}

Failure DamagedValue::of(const Message& message, std::vector<MessageArg> args) const {
    args.emplace_back(reason_);
    return engineFailure(message, args);
}

std::vector<std::uint8_t> encodeValues(const ValueList& values) {
    std::vector<std::uint8_t> out;
    for (const Value& value : values) std::visit(Encoder{out}, value);
    return out;
}

ValueList decodeValues(std::span<const std::uint8_t> bytes) {
    ValueList values;
    Reader reader(bytes);
    while (!reader.done()) {
        switch (reader.byte()) {
        case 'T': values.emplace_back(reader.text(reader.varint())); break;
        case 'N': values.emplace_back(std::bit_cast<double>(reader.fixed())); break;
        case 'D': values.emplace_back(DateTime{static_cast<std::int64_t>(reader.fixed()), true}); break;
        case 'd': values.emplace_back(DateTime{static_cast<std::int64_t>(reader.fixed()), false}); break;
        case 't': values.emplace_back(DateTime{static_cast<std::int64_t>(reader.fixed()), true, false}); break;
        default: throw DamagedValue("unknown kind");
        }
    }
    return values;
}

}  // namespace velloran::notes::store
