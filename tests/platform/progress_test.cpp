#include "platform/progress.h"

#include <gtest/gtest.h>

#include <climits>

namespace dadaz {
namespace {

TEST(FormatCount, GroupsThousandsWithCommas) {
    EXPECT_EQ(formatCount(0), "0");
    EXPECT_EQ(formatCount(7), "7");
    EXPECT_EQ(formatCount(999), "999");
    EXPECT_EQ(formatCount(1000), "1,000");
    EXPECT_EQ(formatCount(12345), "12,345");
    EXPECT_EQ(formatCount(32767), "32,767");
    EXPECT_EQ(formatCount(1234567), "1,234,567");
    EXPECT_EQ(formatCount(-1), "-1");
    EXPECT_EQ(formatCount(-12345), "-12,345");
    EXPECT_EQ(formatCount(-100000), "-100,000");
    EXPECT_EQ(formatCount(LLONG_MIN), "-9,223,372,036,854,775,808");
    EXPECT_EQ(formatCount(LLONG_MAX), "9,223,372,036,854,775,807");
}

TEST(ProgressText, ShowsTheWholePercentage) {
    const std::string text = "สร้างรายการเพลง ";
    EXPECT_EQ(progressText(text, 0, 200), text + "0 %");
    EXPECT_EQ(progressText(text, 29, 100), text + "29 %");  // not 28 from a rounded quotient
    EXPECT_EQ(progressText(text, 1, 3), text + "33 %");
    EXPECT_EQ(progressText(text, 2, 3), text + "66 %");
    EXPECT_EQ(progressText(text, 32766, 32767), text + "99 %");
    EXPECT_EQ(progressText(text, 100, 100), text + "100 %");
    EXPECT_EQ(progressText(text, 5, 0), text + "0 %");
    EXPECT_EQ(progressText("", LONG_MAX - 1, LONG_MAX), "99 %");
    EXPECT_EQ(progressText("", LONG_MAX, LONG_MAX), "100 %");
    EXPECT_EQ(progressText("", 3, 2), "150 %");
    EXPECT_EQ(progressText("", LONG_MAX, 1), "922337203685477580700 %");
    EXPECT_EQ(progressText("", -1, 3), "-34 %");
}

}  // namespace
}  // namespace dadaz
