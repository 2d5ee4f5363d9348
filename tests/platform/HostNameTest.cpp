#include "host/HostName.h"

#include <gtest/gtest.h>

using velloran::platform::localHostName;
using velloran::platform::upperCaseAsciiLetters;

TEST(HostName, OnlyTheLettersAToZAreUpperCased) {
    EXPECT_EQ(upperCaseAsciiLetters("pc-07"), "PC-07");
    EXPECT_EQ(upperCaseAsciiLetters("pc-07.b\xC3\xBCro"), "PC-07.B\xC3\xBCRO");  // ü stays
    EXPECT_EQ(upperCaseAsciiLetters("Az_{}`@[z"), "AZ_{}`@[Z");
}

TEST(HostName, TheLocalNameIsUpperCased) {
    std::string name = localHostName();
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name, upperCaseAsciiLetters(name));
}
