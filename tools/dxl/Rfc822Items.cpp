#include "dxl/Rfc822Items.h"

#include "dxl/ItemBytes.h"
#include "dxl/MailEncodings.h"

#include <array>
#include <charconv>
#include <chrono>
#include <vector>

namespace velloran::tools::dxl {

namespace {

std::optional<Rfc822Item> parseDescriptor(std::string_view bytes) {
    constexpr std::size_t kDescriptorSize = 14;
    if (bytes.size() < kDescriptorSize) return std::nullopt;
    ItemBytes data(bytes);
    data.word();  // version
    std::uint32_t flags = *data.dword();
    std::array<std::uint32_t, 4> lengths = {*data.word(), *data.word(), *data.word(), *data.word()};
    std::array<std::string_view, 4> texts;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        std::optional<std::string_view> text = data.take(lengths[i]);
        if (!text) return std::nullopt;
        texts[i] = *text;
    }
    return Rfc822Item{flags, std::string(texts[0]), std::string(texts[1]), std::string(texts[2]),
                      std::string(texts[3])};
}

std::optional<int> number(std::string_view text) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<unsigned> monthOf(std::string_view name) {
    static constexpr std::array<std::string_view, 12> kMonths = {"jan", "feb", "mar", "apr", "may", "jun",
                                                                 "jul", "aug", "sep", "oct", "nov", "dec"};
    std::string lower = lowerAscii(name.substr(0, 3));
    for (std::size_t i = 0; i < kMonths.size(); ++i)
        if (name.size() >= 3 && lower == kMonths[i]) return static_cast<unsigned>(i + 1);
    return std::nullopt;
}

// Minutes east of UTC: "+0800", "-0430", or an obsolete name.
int zoneMinutes(std::string_view zone) {
    if (zone.size() == 5 && (zone[0] == '+' || zone[0] == '-')) {
        std::optional<int> hhmm = number(zone.substr(1));
        if (hhmm) return (zone[0] == '-' ? -1 : 1) * (*hhmm / 100 * 60 + *hhmm % 100);
    }
    struct Named { std::string_view name; int hours; };
    static constexpr std::array<Named, 8> kZones = {{{"est", -5}, {"edt", -4}, {"cst", -6}, {"cdt", -5},
                                                     {"mst", -7}, {"mdt", -6}, {"pst", -8}, {"pdt", -7}}};
    std::string lower = lowerAscii(zone);
    for (const Named& named : kZones)
        if (lower == named.name) return named.hours * 60;
    return 0;  // UT, GMT, Z and names RFC 822 leaves undefined
}

// Milliseconds into the day of "hh:mm[:ss]".
std::optional<std::int64_t> timeOfDay(std::string_view text) {
    std::array<int, 3> parts = {0, 0, 0};
    std::size_t count = 0;
    for (std::size_t start = 0;;) {
        std::size_t colon = text.find(':', start);
        std::optional<int> part = number(text.substr(start, colon == std::string_view::npos ? colon : colon - start));
        if (!part || count == parts.size()) return std::nullopt;
        parts[count++] = *part;
        if (colon == std::string_view::npos) break;
        start = colon + 1;
    }
    if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 60) return std::nullopt;
    return ((parts[0] * 60 + parts[1]) * 60 + parts[2]) * std::int64_t{1000};
}

std::vector<std::string_view> words(std::string_view text, std::string& buffer) {
    buffer.clear();
    int comment = 0;
    for (char c : text) {  // comments go, and commas separate like blanks
        if (c == '(') ++comment;
        else if (c == ')' && comment > 0) --comment;
        else if (comment == 0) buffer += (c == ',' || c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    std::vector<std::string_view> out;
    std::string_view rest = buffer;
    while (!rest.empty()) {
        std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos) break;
        std::size_t end = std::min(rest.find(' ', start), rest.size());
        out.push_back(rest.substr(start, end - start));
        rest.remove_prefix(end);
    }
    return out;
}

}  // namespace

std::optional<Rfc822Item> parseRfc822Item(std::string_view bytes) {
    return parseItemValue(bytes, kRfc822TextType, parseDescriptor);
}

std::optional<notes::DateTime> parseMailDate(std::string_view text) {
    std::string buffer;
    std::vector<std::string_view> parts = words(text, buffer);
    std::size_t at = !parts.empty() && !number(parts[0]) ? 1 : 0;  // the weekday
    if (parts.size() < at + 4) return std::nullopt;
    std::optional<int> day = number(parts[at]), year = number(parts[at + 2]);
    std::optional<unsigned> month = monthOf(parts[at + 1]);
    std::optional<std::int64_t> time = timeOfDay(parts[at + 3]);
    if (!day || !month || !year || !time || *day < 1 || *year < 0 || *year > 9999) return std::nullopt;
    if (*year < 50) *year += 2000;
    else if (*year < 1000) *year += 1900;
    std::chrono::year_month_day date{std::chrono::year{*year}, std::chrono::month{*month},
                                     std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) return std::nullopt;
    std::int64_t dayMs =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::sys_days{date}.time_since_epoch()).count();
    int zone = parts.size() > at + 4 ? zoneMinutes(parts[at + 4]) : 0;
    return notes::DateTime{dayMs + *time - std::int64_t{zone} * 60000, true};
}

}  // namespace velloran::tools::dxl
