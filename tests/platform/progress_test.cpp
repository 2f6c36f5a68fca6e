#include "platform/progress.h"

#include <gtest/gtest.h>

namespace dadaz {
namespace {

TEST(FormatCount, GroupsThousandsWithCommas) {
    const std::pair<long long, const char*> cases[] = {
        {0, "0"},          {999, "999"},        {1000, "1,000"},
        {32767, "32,767"}, {100000, "100,000"}, {1234567, "1,234,567"}};
    for (const auto& [count, text] : cases) EXPECT_EQ(formatCount(count), text);
}

TEST(ProgressText, ShowsTheWholePercentageNeverRoundedUp) {
    const std::string text = "สร้างรายการเพลง ";
    const std::tuple<long, long, const char*> cases[] = {
        {0, 200, "0 %"}, {29, 100, "29 %"},      {1, 3, "33 %"},
        {2, 3, "66 %"},  {32766, 32767, "99 %"}, {100000, 100000, "100 %"}};
    for (const auto& [done, total, percent] : cases)
        EXPECT_EQ(progressText(text, done, total), text + percent) << done << " of " << total;
}

}  // namespace
}  // namespace dadaz
