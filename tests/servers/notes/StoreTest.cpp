// Stored values, names, access levels and date texts.
#include "ScopedTimeZone.h"
#include "access/AccessControl.h"
#include "access/UserNames.h"
#include "store/EngineError.h"
#include "store/ValueCodec.h"
#include "text/ValueText.h"

#include <gtest/gtest.h>

#include <limits>

namespace velloran::notes {
namespace {

TEST(ValueCodecTest, EveryKindOfValueSurvivesTheRoundTrip) {
    ValueList values{std::string(), std::string(300, 'x'), std::string("中文"), 0.0, -1.5,
                     std::numeric_limits<double>::max(), DateTime{-86'400'000, false}, DateTime{1'700'000'000'123, true},
                     DateTime{45'000'000, true, false}};
    EXPECT_EQ(store::decodeValues(store::encodeValues(values)), values);
    EXPECT_TRUE(store::decodeValues({}).empty());
}

TEST(ValueCodecTest, DamagedBytesAreAnErrorNotACrash) {
    std::vector<std::uint8_t> bytes = store::encodeValues({std::string("hello"), 2.0});
    for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
        if (cut == 7) continue;  // a cut between the two values is a valid shorter list
        EXPECT_THROW(store::decodeValues(std::span(bytes.data(), cut)), Failure) << cut;
    }
    std::vector<std::uint8_t> unknown{'Z', 1, 2};
    EXPECT_THROW(store::decodeValues(unknown), Failure);
    std::vector<std::uint8_t> hugeLength{'T', 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0x01};
    EXPECT_THROW(store::decodeValues(hugeLength), Failure);
}

TEST(ValueTextTest, DefaultTextForms) {
    testing::ScopedTimeZone zone("Asia/Shanghai");
    EXPECT_EQ(text::valueText(std::string("文本")), "文本");
    EXPECT_EQ(text::valueText(100000.0), "100000");
    EXPECT_EQ(text::valueText(0.00001), "0.00001");
    EXPECT_EQ(text::valueText(-2.5e20), "-2.5e+20");
    const DateTime moment{1'709'251'200'000 + 3'723'000, true};  // 2024-03-01 01:02:03 UTC
    EXPECT_EQ(text::valueText(moment), "2024-03-01 09:02:03");
    EXPECT_EQ(text::valueText(moment, platform::TimeZone::Utc), "2024-03-01 01:02:03");
    EXPECT_EQ(text::valueText(DateTime{1'709'251'200'000, false}), "2024-03-01");
    EXPECT_EQ(text::valueText(DateTime{-1000, true}, platform::TimeZone::Utc), "1969-12-31 23:59:59");
    EXPECT_EQ(text::valueText(DateTime{45'000'000, true, false}), "12:30:00");
}

TEST(ValueTextTest, ParsesDatesAndRefusesImpossibleOnes) {
    EXPECT_EQ(text::parseDateTime("2024-03-01"), (DateTime{1'709'251'200'000, false}));
    EXPECT_EQ(text::parseDateTime("2024-03-01T01:02:03.5Z"), (DateTime{1'709'251'200'000 + 3'723'500, true}));
    EXPECT_EQ(text::parseDateTime("2024-03-01 01:02"), (DateTime{1'709'251'200'000 + 3'720'000, true}));
    for (const char* bad : {"2023-02-29", "2024-13-01", "2024-01-01T24:00", "01/02/2024", "", "2024-01-01x"})
        EXPECT_FALSE(text::parseDateTime(bad).has_value()) << bad;
}

TEST(UserNamesTest, NameFormsAreComparedAsTheSamePerson) {
    EXPECT_EQ(access::abbreviatedName("CN=Zhang San/OU=Sales/O=Velloran"), "Zhang San/Sales/Velloran");
    EXPECT_EQ(access::commonName("cn=Zhang San/o=Velloran"), "Zhang San");
    EXPECT_TRUE(access::sameName("zhang san/velloran", "CN=Zhang San/O=Velloran"));
    EXPECT_FALSE(access::sameName("Zhang San", "CN=Zhang San/O=Velloran"));
}

TEST(AccessControlTest, AnEntryForTheUserWinsOverTheDefault) {
    std::vector<store::AclEntry> acl{{"-Default-", store::AccessLevel::Reader},
                                     {"Li Si/Velloran", store::AccessLevel::NoAccess},
                                     {"CN=Wang Wu/O=Velloran", store::AccessLevel::Editor}};
    EXPECT_EQ(access::accessLevel(acl, "CN=Li Si/O=Velloran"), store::AccessLevel::NoAccess);
    EXPECT_EQ(access::accessLevel(acl, "Wang Wu/Velloran"), store::AccessLevel::Editor);
    EXPECT_EQ(access::accessLevel(acl, "CN=Anyone/O=Velloran"), store::AccessLevel::Reader);
    EXPECT_EQ(access::accessLevel({}, "CN=Anyone/O=Velloran"), store::AccessLevel::NoAccess);
}

}  // namespace
}  // namespace velloran::notes
