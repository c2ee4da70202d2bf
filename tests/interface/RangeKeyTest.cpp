#include "RangeKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

TEST(RangeKeyTest, EveryKeySurvivesTheTripThroughAThirtyTwoBitFraction)
{
    for (int key = 0; key < 128; ++key) {
        const float stored = static_cast<float>(key) / 127.0f;
        EXPECT_EQ(rangeKey(stored), key) << key;
    }
}

TEST(RangeKeyTest, DragGridFractionsTruncateAsBefore)
{
    for (int step = 0; step <= 128; ++step) {
        const double fraction = step / 128.0;
        const int plain = std::min(127, static_cast<int>(std::trunc(fraction * 127.0)));
        EXPECT_EQ(rangeKey(fraction), plain) << step;
    }
}

TEST(RangeKeyTest, ValuesOffTheKeyboardGiveTheNearestEnd)
{
    EXPECT_EQ(rangeKey(-0.5), 0);
    EXPECT_EQ(rangeKey(1.2), 127);
    EXPECT_EQ(rangeKey(std::numeric_limits<double>::infinity()), 127);
    EXPECT_EQ(rangeKey(-std::numeric_limits<double>::infinity()), 0);
    EXPECT_EQ(rangeKey(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(rangeKey(1e300), 127);
}

}
