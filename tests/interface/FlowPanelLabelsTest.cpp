#include "FlowPanelLabels.h"

#include <gtest/gtest.h>

namespace {

TEST(FlowPanelLabelsTest, EachModeHasItsTextAndValuesOutsideTheTablesHaveNone)
{
    const std::vector<std::string> processing{"STEREO", "LEFT", "RIGHT", "MID", "SIDE"};
    const std::vector<std::string> operation{"PITCH SHIFT MODE", "HARMONIC SHIFT MODE", "FILTER MODE 1",
                                             "FILTER MODE 2"};
    const std::vector<std::string> operationOption{"shift pitch", "shift harmonics", "filter 1", "filter 2"};
    const std::vector<std::string> speed{"fastest", "faster", "fast",   "quite fast", "normal",
                                         "quite slow", "slow", "slower", "slowest"};
    for (std::int64_t mode = -1; mode <= 10; ++mode) {
        const auto expected = [mode](const std::vector<std::string>& texts) {
            return mode >= 0 && mode < static_cast<std::int64_t>(texts.size()) ? texts[mode] : "";
        };
        EXPECT_EQ(processingModeCaption(mode), expected(processing)) << mode;
        EXPECT_EQ(operationModeCaption(mode), expected(operation)) << mode;
        EXPECT_EQ(operationOptionLabel(mode), expected(operationOption)) << mode;
        EXPECT_EQ(speedOptionLabel(mode), expected(speed)) << mode;
    }
    EXPECT_EQ(speedOptionLabel(INT64_MIN), "");
    EXPECT_EQ(processingModeCaption(INT64_MAX), "");
}

} // namespace
