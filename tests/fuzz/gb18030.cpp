// The GB18030 helpers. The first byte is a byte budget, the rest is taken
// once as GB18030 bytes and once as raw UTF-16 units (lone surrogates
// included). Decoded text encodes back to the same text; lengths agree with
// the encoder; a cut is the longest start of the text within the budget and
// never splits a surrogate pair. The fast encoder gives the bytes of the
// general one, also when a text reaches it in two parts.
#include "support/Check.h"
#include "support/Utf16Input.h"
#include "text/Gb18030.h"
#include "text/Gb18030Encoder.h"

#include <algorithm>
#include <cstdint>

namespace {

using namespace velloran::platform;
namespace fuzz = velloran::fuzz;

qsizetype nextCodePointUnits(const QString& text, qsizetype pos) {
    return text[pos].isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate() ? 2 : 1;
}

void checkCut(const QString& text, qsizetype budget) {
    const QString cut = cutToGb18030Bytes(text, budget);
    fuzz::require(text.startsWith(cut), "a cut is a start of the text");
    fuzz::require(gb18030Length(cut) <= budget, "a cut fits the budget");
    if (cut.size() == text.size()) return;
    fuzz::require(cut.isEmpty() || !cut.back().isHighSurrogate() || !text[cut.size()].isLowSurrogate(),
                  "a cut never splits a surrogate pair");
    // The encoder drops a lone high surrogate at the end of a text, so a
    // prefix ending in one does not measure what the character takes inside
    // the text: only whole characters are checked.
    const qsizetype next = nextCodePointUnits(text, cut.size());
    if (next == 1 && text[cut.size()].isSurrogate()) return;
    const QString longer = text.left(cut.size() + next);
    fuzz::require(gb18030Length(longer) > budget, "a cut keeps every character that fits");
}

void checkLengths(const QString& text) {
    fuzz::require(gb18030Length(text) == toGb18030(text).size(), "the length is the encoded size");
}

// Split where no surrogate pair is cut, as the log splits its lines.
void checkFastEncoder(const QString& text, qsizetype split) {
    static Gb18030Encoder encoder;
    if (split > 0 && split < text.size() && text[split - 1].isHighSurrogate()) return;
    split = std::min(split, text.size());
    QByteArray out;
    encoder.append(QStringView(text).first(split), out);
    encoder.append(QStringView(text).sliced(split), out);
    const QByteArray whole = toGb18030(text.first(split)) + toGb18030(text.sliced(split));
    fuzz::require(out == whole, "the fast encoder gives the general encoder's bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const qsizetype budget = data[0];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1));

    const QString decoded = fromGb18030(bytes);
    fuzz::require(fromGb18030(toGb18030(decoded)) == decoded, "decoded text encodes back to itself");
    checkLengths(decoded);
    checkCut(decoded, budget);

    const QString units = fuzz::fromUtf16Units(data + 1, size - 1);
    checkLengths(units);
    checkCut(units, budget);
    checkFastEncoder(units, budget);
    return 0;
}
