#include "FlowViewTouchFixture.h"

#include <gmock/gmock.h>

#include <limits>

namespace {

class VelmoraFlowViewSyncTest : public FlowViewTouchFixture {
protected:
    long inRange() const { return std::count(view->range().begin(), view->range().end(), true); }
};

TEST_F(VelmoraFlowViewSyncTest, TheLinksAreNotOwnedAndTheControllerReachesThePanel)
{
    EXPECT_EQ(panel().viewController.lock(), controller);
    controller.reset();
    delegate.reset();
    EXPECT_EQ(view->viewController(), nullptr);
    EXPECT_EQ(view->delegate(), nullptr);
}

TEST_F(VelmoraFlowViewSyncTest, TreeValuesReachThePanelAndEachRedraws)
{
    const int before = view->displayRequestCount();
    const std::pair<std::int64_t, float> values[] = {{105, 127}, {106, 64},    {104, 3.5f},  {107, 0.25f},
                                                     {100, 1},   {108, 0.5f},  {1005, 0.25f}, {2006, 0.75f}};
    for (const auto& [address, value] : values) {
        view->setParameter(address, value);
    }
    EXPECT_EQ(panel().valueRangeLeft, 1.0);
    EXPECT_EQ(panel().valueRangeRight, 0.5039370059967041);
    EXPECT_EQ(panel().valueOperationMode, 3);
    EXPECT_EQ(panel().valueMix, 0.25);
    EXPECT_EQ(panel().valueHandle[5], 0.25);
    EXPECT_EQ(panel().valueHandle[6], 0.5); // another mode's band
    EXPECT_EQ(view->displayRequestCount(), before + 8);

    view->setParameter(103, 3.7f); // a host change of channel mode loads its bands
    view->setParameter(103, 3);
    view->setParameter(103, 7);
    EXPECT_THAT(unit.bandReads, ::testing::ElementsAre(3));
    EXPECT_EQ(panel().valueHandle[127], unit.bands[3][127]);
    controller->unit = nullptr; // nothing to load from: the handles stay
    view->setParameter(103, 1);
    view->setParameter(2006, 0.75f);
    EXPECT_EQ(panel().valueHandle[6], 0.75);
    EXPECT_EQ(panel().valueHandle[127], unit.bands[3][127]);
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewSyncTest, OperationModeAndRangeEndsRebuildTheNotesInRange)
{
    view->setParameter(105, 63.5f); // 0.5 exactly: key 63
    view->setParameter(104, 1);     // harmonic shift edits the keys in range
    EXPECT_EQ(inRange(), 65);
    EXPECT_TRUE(view->range()[63]);
    view->setParameter(104, 2); // filter 1 keeps only these keys, so it edits them too
    EXPECT_EQ(inRange(), 65);
    EXPECT_TRUE(view->range()[63]);
    EXPECT_FALSE(view->range()[62]);
    view->setParameter(104, 3);
    EXPECT_EQ(inRange(), 128);
    view->setParameter(106, 63.5f);
    view->setParameter(104, 1);
    EXPECT_EQ(inRange(), 1);
    view->setParameter(105, 64); // crossed ends: no key between them
    EXPECT_EQ(inRange(), 0);
    view->setParameter(104, 2);
    EXPECT_EQ(inRange(), 0);
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewSyncTest, ModesThatAreNotIntegersAreIgnoredAndRangeEndsOffTheKeyboardClamped)
{
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -1e30f}) {
        view->setParameter(103, bad);
        view->setParameter(104, bad);
    }
    EXPECT_EQ(panel().valueProcessingMode, 0);
    EXPECT_EQ(panel().valueOperationMode, 0);
    view->setParameter(104, 1);
    view->setParameter(105, std::numeric_limits<float>::quiet_NaN());
    view->setParameter(106, 1e30f);
    EXPECT_EQ(inRange(), 128);
    view->setParameter(106, -1);
    EXPECT_EQ(inRange(), 1);
}

TEST_F(VelmoraFlowViewSyncTest, ValuesThatAreNotNumbersLeaveRangeMixAndBandsWhereTheyAre)
{
    view->setParameter(105, 12);
    view->setParameter(107, 0.25f);
    view->setParameter(1005, 0.75f);
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        for (const long address : {105, 106, 107, 1005}) {
            view->setParameter(address, bad);
        }
    }
    EXPECT_DOUBLE_EQ(panel().valueRangeLeft, 12.0f / 127.0f);
    EXPECT_DOUBLE_EQ(panel().valueRangeRight, 1.0);
    EXPECT_DOUBLE_EQ(panel().valueMix, 0.25);
    EXPECT_DOUBLE_EQ(panel().valueHandle[5], 0.75);
}

TEST_F(VelmoraFlowViewSyncTest, KeysHighlightExactlyAndContrastSetsBothGreys)
{
    int before = view->displayRequestCount();
    view->setKeys({60, 64, 67, -1, 128});
    EXPECT_EQ(view->displayRequestCount(), before + 3);
    EXPECT_EQ(std::count(panel().isKeySelected.begin(), panel().isKeySelected.end(), true), 3);
    EXPECT_TRUE(panel().isKeySelected[64]);
    before = view->displayRequestCount();
    view->setKeys({67, 60, 64});
    EXPECT_EQ(view->displayRequestCount(), before);
    view->setKeys({});
    EXPECT_EQ(std::count(panel().isKeySelected.begin(), panel().isKeySelected.end(), true), 0);

    view->setContrast(0.25);
    EXPECT_EQ(panel().colorContrast, UIColor(0.75, 0.75, 0.75, 1));
    EXPECT_EQ(panel().colorContrastInverted, UIColor(0.25, 0.25, 0.25, 1));
}

} // namespace
