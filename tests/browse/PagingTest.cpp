#include "Paging.h"

#include <gtest/gtest.h>

using namespace velloran::browse;

namespace {

std::optional<int> press(PageButton button, int readPosition, int count) {
    return readPositionFor(button, readPosition, count, false);
}

}  // namespace

TEST(Paging, NothingMovesWithoutADocumentList) {
    for (PageButton button : {PageButton::First, PageButton::Previous, PageButton::Next, PageButton::Last}) {
        EXPECT_FALSE(readPositionFor(button, 0, 0, false));
        EXPECT_FALSE(readPositionFor(button, 100, 250, true)) << "icon style lists views, not documents";
    }
}

TEST(Paging, AWalkThroughTwoHundredAndFiftyDocuments) {
    EXPECT_EQ(press(PageButton::Next, 100, 250), 100);
    EXPECT_EQ(press(PageButton::Next, 200, 250), 200);
    EXPECT_FALSE(press(PageButton::Next, 250, 250));
    EXPECT_EQ(press(PageButton::Previous, 250, 250), 0);
    EXPECT_EQ(press(PageButton::First, 250, 250), 0);
    EXPECT_EQ(press(PageButton::Last, 100, 250), 0) << "the last multiple of 2000 is 0";
    EXPECT_FALSE(press(PageButton::Last, 250, 250));
}

TEST(Paging, PreviousStepsBackTwoThousand) {
    EXPECT_EQ(press(PageButton::Previous, 2100, 5000), 100);
    EXPECT_EQ(press(PageButton::Previous, 1999, 5000), 0);
}

TEST(Paging, LastGoesToOneBelowTheLastMultipleOfTwoThousand) {
    EXPECT_EQ(press(PageButton::Last, 100, 2500), 1999);
    EXPECT_EQ(press(PageButton::Last, 100, 4000), 3999);
    EXPECT_EQ(press(PageButton::Last, 100, 1999), 0);
}
