#pragma once
// Encodes text to GB18030 as toGb18030 does, fast enough for the export
// log's hundreds of megabytes: ASCII is copied, and every other character
// of the Basic Multilingual Plane is encoded once and then looked up. Text
// with surrogates (characters outside that plane, or damaged UTF-16) goes
// to the general encoder whole: a surrogate is encoded by its neighbour.
#include <QByteArray>
#include <QChar>
#include <QStringEncoder>
#include <QStringView>

#include <cstdint>
#include <cstring>
#include <vector>

namespace velloran::platform {

class Gb18030Encoder {
public:
    Gb18030Encoder();

    // No character takes more than this many bytes a UTF-16 unit.
    static constexpr qsizetype kMaxBytesPerUnit = 4;

    // Appends the bytes that toGb18030 gives for `text` to `out`.
    void append(QStringView text, QByteArray& out);

    // Writes the bytes of `text` from `at`, which has room for
    // kMaxBytesPerUnit a unit, and returns where they end; nullptr when
    // the text holds a surrogate, which only append encodes.
    char* encodeWithoutSurrogates(QStringView text, char* at) {
        const char16_t* unit = text.utf16();
        const char16_t* const end = unit + text.size();
        while (unit != end) {
            // Runs of ASCII go four units at a time.
            while (end - unit >= 4 && isAscii4(unit)) {
                for (int i = 0; i < 4; ++i) *at++ = static_cast<char>(unit[i]);
                unit += 4;
            }
            if (unit == end) break;
            const char16_t c = *unit++;
            if (c < 0x80) {
                *at++ = static_cast<char>(c);
                continue;
            }
            if (QChar::isSurrogate(c)) return nullptr;
            const Sequence& sequence = known_[c].size != 0 ? known_[c] : sequenceOf(c);
            // All four bytes are stored; the next character overwrites what
            // this one does not use.
            std::memcpy(at, &sequence.bytes, sizeof sequence.bytes);
            at += sequence.size;
        }
        return at;
    }

private:
    struct Sequence {
        std::uint32_t bytes = 0;  // in the order they are written
        std::uint32_t size = 0;   // 0 until the character is first met
    };
    static bool isAscii4(const char16_t* units) {
        std::uint64_t four = 0;
        std::memcpy(&four, units, sizeof four);
        return (four & 0xFF80FF80FF80FF80ULL) == 0;
    }
    const Sequence& sequenceOf(char16_t unit);

    std::vector<Sequence> known_;
    QStringEncoder encoder_;
};

}  // namespace velloran::platform
