// Values of the XML export: date-times, numbers, and base64 decoded in pieces.
#include "TempDir.h"
#include "dxl/Base64File.h"
#include "dxl/DxlValues.h"

#include "common/ToolError.h"

#include <gtest/gtest.h>
#include <sodium.h>

namespace velloran::tools::dxl {
namespace {

constexpr std::int64_t kMay22 = 990489600000;  // 2001-05-22T00:00:00Z

TEST(DxlValuesTest, DateTimesTakeTheirZoneAndHundredths) {
    EXPECT_EQ(parseDateTime("20010522T103636,81-04"), (notes::DateTime{kMay22 + (14 * 3600 + 36 * 60 + 36) * 1000 + 810, true}));
    EXPECT_EQ(parseDateTime("20010522T103636+0130"), (notes::DateTime{kMay22 + (9 * 3600 + 6 * 60 + 36) * 1000, true}));
    EXPECT_EQ(parseDateTime("20010522T000000,00Z"), (notes::DateTime{kMay22, true}));
    EXPECT_EQ(parseDateTime("20010522T000000"), (notes::DateTime{kMay22, true}));
    EXPECT_EQ(parseDateTime("20010522"), (notes::DateTime{kMay22, false}));
}

TEST(DxlValuesTest, MalformedDateTimesAreRefused) {
    for (const char* text : {"", "2001052", "20011322", "20010230", "20010522T2500", "20010522T246000",
                             "20010522T103636,8", "20010522T103636-4", "20010522T103636+2400", "20010522X103636",
                             "20010522T103636Zx"})
        EXPECT_FALSE(parseDateTime(text)) << text;
}

// Every form the export's <datetime> takes: a date, a time, or both, with
// hundredths and a zone of two or four digits or "Z". A time alone keeps
// the time as written, whatever its zone.
TEST(DxlValuesTest, EveryDateTimeFormOfTheExport) {
    constexpr std::int64_t kJuly20 = 1'784'505'600'000;  // 2026-07-20T00:00:00Z
    constexpr std::int64_t kNoon = 12 * 3'600'000;
    const std::vector<std::pair<const char*, std::optional<notes::DateTime>>> forms = {
        {"20260720", notes::DateTime{kJuly20, false}},
        {"20260720T120000,00", notes::DateTime{kJuly20 + kNoon, true}},
        {"20260720T120000,00-04", notes::DateTime{kJuly20 + kNoon + 4 * 3'600'000, true}},
        {"20260720T120000,00+0530", notes::DateTime{kJuly20 + kNoon - 330 * 60'000, true}},
        {"20260720T120000,99Z", notes::DateTime{kJuly20 + kNoon + 990, true}},
        {"T120000,00", notes::DateTime{kNoon, true, false}},
        {"T120000", notes::DateTime{kNoon, true, false}},
        {"T235959,99-04", notes::DateTime{kNoon * 2 - 10, true, false}},
        {"T000000,00+0530", notes::DateTime{0, true, false}},
        {"T120000Z", notes::DateTime{kNoon, true, false}},
        {"T", std::nullopt},
        {"T1200", std::nullopt},
        {"T240000", std::nullopt},
        {"T120000,0", std::nullopt},
        {"T120000-4", std::nullopt},
        {"TT120000", std::nullopt},
        {"20260720T", std::nullopt},
        {"120000", std::nullopt},
    };
    for (const auto& [text, expected] : forms) EXPECT_EQ(parseDateTime(text), expected) << text;
}

TEST(DxlValuesTest, NumbersAndLevels) {
    EXPECT_EQ(parseNumber(" 12.5 "), 12.5);
    EXPECT_EQ(parseNumber("-2e3"), -2000);
    EXPECT_EQ(parseNumber("+7"), 7);
    EXPECT_FALSE(parseNumber(""));
    EXPECT_FALSE(parseNumber("12,5"));
    EXPECT_FALSE(parseNumber("1 2"));
    EXPECT_EQ(parseAccessLevel("manager"), notes::store::AccessLevel::Manager);
    EXPECT_EQ(parseAccessLevel("noaccess"), notes::store::AccessLevel::NoAccess);
    EXPECT_FALSE(parseAccessLevel("superuser"));
}

class Base64FileTest : public ::testing::Test {
protected:
    testing::TempDir dir_;
    std::string path_ = dir_.file("out.bin");
};

TEST_F(Base64FileTest, PiecesSplitAnywhereDecodeToTheSameBytes) {
    std::string bytes;
    for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<char>(i * 7 % 251));
    std::string encoded(sodium_base64_ENCODED_LEN(bytes.size(), sodium_base64_VARIANT_ORIGINAL), '\0');
    sodium_bin2base64(encoded.data(), encoded.size(), reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    encoded.resize(encoded.size() - 1);
    std::string lines;
    for (std::size_t at = 0; at < encoded.size(); at += 76) lines.append(encoded, at, 76).append("\n");
    encoded = lines;
    Base64File file(path_);
    for (std::size_t at = 0, step = 1; at < encoded.size(); at += step, step = step * 3 % 9973 + 1)
        file.feed(std::string_view(encoded).substr(at, step));
    file.finish();
    EXPECT_EQ(testing::TempDir::read(path_), bytes);
}

TEST_F(Base64FileTest, TheReadersUtf16TextDecodesLikeBytes) {
    Base64File file(path_);
    file.feed(QStringView(u"aGVs\r\n bG8g"));
    file.feed(QStringView(u"d29y"));
    file.feed(QStringView(u"bGQ="));
    file.finish();
    EXPECT_EQ(testing::TempDir::read(path_), "hello world");
}

// As the splitting device feeds it: up to a line end or markup, with the
// file closed between elements.
TEST_F(Base64FileTest, FeedingStopsBeforeOtherCharactersAndGoesOnAfterAPause) {
    Base64File file(path_);
    EXPECT_EQ(file.feedWhileBase64("aGVs bG8\r\ng"), 8u);
    EXPECT_EQ(file.feedWhileBase64("\ng"), 0u);
    file.pause();
    EXPECT_EQ(testing::TempDir::read(path_), "hel");
    EXPECT_EQ(file.feedWhileBase64("g&#100;"), 1u);
    file.feed("d29ybGQ=");
    file.finish();
    EXPECT_EQ(testing::TempDir::read(path_), "hello world");
}

TEST_F(Base64FileTest, BadOrCutDataIsRefused) {
    for (std::u16string_view bad : {u"aGVs*G8=", u"aGVs=G8=", u"=GVs", u"a===", u"aGU=aGU=", u"aGVs\u00E9G8=", u"aGVs\u4E2DG8="}) {
        Base64File file(path_);
        EXPECT_THROW(
            {
                file.feed(QStringView(bad));
                file.finish();
            },
            Failure)
            << std::string(bad.begin(), bad.end());
    }
    Base64File cut(path_);
    cut.feed("aGVsbG8");
    EXPECT_THROW(cut.finish(), Failure);
}

}  // namespace
}  // namespace velloran::tools::dxl
