#include "run/IntegerText.h"

#include <array>

namespace velloran::exporting {

namespace {

constexpr int kMaxHexDigits = 8;
constexpr std::uint64_t kMaxNegative = std::uint64_t{1} << 31;

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

bool isDecimalDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

// Length of the hexadecimal prefix at `pos`, 0 when there is none.
qsizetype hexPrefixLength(const QString& text, qsizetype pos) {
    static const std::array<QString, 5> prefixes = {QStringLiteral("0x"), QStringLiteral("0X"), QStringLiteral("$"),
                                                   QStringLiteral("x"), QStringLiteral("X")};
    for (const QString& prefix : prefixes)
        if (QStringView(text).mid(pos).startsWith(prefix)) return prefix.size();
    return 0;
}

// Eight hexadecimal digits may set the top bit: the value wraps into the
// negative range, as a 32-bit register holds it.
std::optional<std::uint32_t> hexValue(QStringView digits) {
    if (digits.isEmpty() || digits.size() > kMaxHexDigits) return std::nullopt;
    std::uint32_t value = 0;
    for (QChar c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::optional<std::int32_t> decimalValue(QStringView digits, bool negative) {
    if (digits.isEmpty()) return std::nullopt;
    const std::uint64_t limit = negative ? kMaxNegative : kMaxNegative - 1;
    std::uint64_t value = 0;
    for (QChar c : digits) {
        if (!isDecimalDigit(c)) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c.unicode() - u'0');
        if (value > limit) return std::nullopt;
    }
    const std::int64_t signedValue = negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
    return static_cast<std::int32_t>(signedValue);
}

}  // namespace

std::optional<std::int32_t> parseInteger(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && text[pos] == QLatin1Char(' ')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == QLatin1Char('-') || text[pos] == QLatin1Char('+'))) {
        negative = text[pos] == QLatin1Char('-');
        ++pos;
    }
    const qsizetype prefix = hexPrefixLength(text, pos);
    if (prefix == 0) return decimalValue(QStringView(text).mid(pos), negative);
    std::optional<std::uint32_t> value = hexValue(QStringView(text).mid(pos + prefix));
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(negative ? 0u - *value : *value);
}

bool IsIntegerText(const QString& text) { return parseInteger(text).has_value(); }

std::int32_t StrToInt(const QString& text) {
    std::optional<std::int32_t> value = parseInteger(text);
    if (!value)
        throw platform::Failure(platform::Failure::Kind::Number,
                                QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return *value;
}

}  // namespace velloran::exporting
