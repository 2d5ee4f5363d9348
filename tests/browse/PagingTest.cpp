#include "Paging.h"

#include <gtest/gtest.h>

using namespace velloran::browse;

namespace {

std::optional<int> press(PageButton button, int pageStart, int count) {
    return readPositionFor(button, pageStart, count, false);
}

}  // namespace

TEST(Paging, NothingMovesWithoutADocumentList) {
    for (PageButton button : {PageButton::First, PageButton::Previous, PageButton::Next, PageButton::Last}) {
        EXPECT_FALSE(readPositionFor(button, 0, 0, false));
        EXPECT_FALSE(readPositionFor(button, 100, 250, true)) << "icon style lists views, not documents";
    }
}

TEST(Paging, AWalkThroughTwoHundredAndFiftyDocuments) {
    EXPECT_EQ(press(PageButton::Next, 0, 250), 100);
    EXPECT_EQ(press(PageButton::Next, 100, 250), 200);
    EXPECT_FALSE(press(PageButton::Next, 200, 250)) << "201-250 is the last page";
    EXPECT_EQ(press(PageButton::Previous, 200, 250), 100) << "from 201-250 back to 101-200";
    EXPECT_EQ(press(PageButton::Previous, 100, 250), 0);
    EXPECT_EQ(press(PageButton::Previous, 0, 250), 0);
    EXPECT_EQ(press(PageButton::First, 200, 250), 0);
    EXPECT_EQ(press(PageButton::Last, 0, 250), 200) << "the last page is 201-250";
    EXPECT_FALSE(press(PageButton::Last, 200, 250)) << "the last page is already shown";
}

TEST(Paging, PreviousStepsBackOnePage) {
    EXPECT_EQ(press(PageButton::Previous, 2000, 5000), 1900) << "from 2001-2100 back to 1901-2000";
    EXPECT_EQ(press(PageButton::Previous, 4900, 5000), 4800);
}

TEST(Paging, LastShowsThePageHoldingTheLastDocument) {
    EXPECT_EQ(press(PageButton::Last, 0, 2600), 2500);
    EXPECT_EQ(press(PageButton::Last, 100, 4000), 3900);
    EXPECT_EQ(press(PageButton::Last, 0, 101), 100);
    EXPECT_FALSE(press(PageButton::Last, 0, 100)) << "one full page is first and last";
    EXPECT_FALSE(press(PageButton::Last, 0, 1));
    EXPECT_EQ(lastPageStart(2001), 2000);
    EXPECT_EQ(lastPageStart(2000), 1900);
}

TEST(Paging, NextStopsAtTheLastPageEvenWhenItIsFull) {
    EXPECT_EQ(press(PageButton::Next, 3800, 4000), 3900);
    EXPECT_FALSE(press(PageButton::Next, 3900, 4000));
}
