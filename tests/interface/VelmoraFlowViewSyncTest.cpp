#include "VelmoraFlowView.h"

#include "FlowViewFakes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace {

class VelmoraFlowViewSyncTest : public ::testing::Test {
protected:
    VelmoraFlowViewSyncTest()
    {
        controller->unit = &unit;
        view->setViewController(controller);
        view->setDelegate(delegate);
    }

    VelmoraFlowViewBase& panel() { return view->baseClass(); }
    int inRangeCount() const { return static_cast<int>(std::count(view->range().begin(), view->range().end(), true)); }

    FakeAudioUnit unit;
    std::shared_ptr<FakeController> controller = std::make_shared<FakeController>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<VelmoraFlowView> view = std::make_shared<VelmoraFlowView>(CGRect(0, 0, 600, 660));
};

TEST_F(VelmoraFlowViewSyncTest, ANewViewHasNoLinksAndEveryNoteInRange)
{
    const VelmoraFlowView fresh;
    EXPECT_EQ(fresh.viewController(), nullptr);
    EXPECT_EQ(fresh.delegate(), nullptr);
    EXPECT_EQ(fresh.audioUnit(), nullptr);
    EXPECT_EQ(fresh.hotspotMode(), "");
    EXPECT_EQ(fresh.scaler(), 1.0);
    EXPECT_EQ(fresh.startLocation(), (CGPoint{0, 0}));
    EXPECT_TRUE(std::all_of(fresh.range().begin(), fresh.range().end(), [](bool in) { return in; }));
    EXPECT_EQ(fresh.getFlowSize(), CGRect::zero());
}

TEST_F(VelmoraFlowViewSyncTest, TheControllerIsPassedToThePanelAndHeldWithoutOwningIt)
{
    EXPECT_EQ(panel().viewController.lock(), controller);
    EXPECT_EQ(view->audioUnit(), &unit);
    EXPECT_EQ(panel().audioUnit(), &unit);

    controller.reset();
    delegate.reset();
    EXPECT_EQ(view->viewController(), nullptr);
    EXPECT_EQ(view->delegate(), nullptr);
    EXPECT_EQ(panel().audioUnit(), nullptr);
}

TEST_F(VelmoraFlowViewSyncTest, ModesRangeEndsAndMixFollowTheTree)
{
    view->setParameter(105, 127);
    view->setParameter(106, 64);
    view->setParameter(103, 2.9f);
    view->setParameter(104, 3.5f);
    view->setParameter(107, 0.25f);
    EXPECT_EQ(panel().valueRangeLeft, 1.0);
    EXPECT_EQ(panel().valueRangeRight, 0.5039370059967041);
    EXPECT_EQ(panel().valueProcessingMode, 2);
    EXPECT_EQ(panel().valueOperationMode, 3);
    EXPECT_EQ(panel().valueMix, 0.25);
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewSyncTest, EveryParameterRedrawsAndUnknownOnesChangeNothingElse)
{
    const int before = view->displayRequestCount();
    view->setParameter(100, 1);
    view->setParameter(108, 0.5f);
    view->setParameter(1128, 0.1f);
    EXPECT_EQ(view->displayRequestCount(), before + 3);
    EXPECT_EQ(panel().valueMix, 0.5);
    EXPECT_TRUE(std::all_of(panel().valueHandle.begin(), panel().valueHandle.end(),
                            [](CGFloat value) { return value == 0.5; }));
}

TEST_F(VelmoraFlowViewSyncTest, OnlyBandsOfTheCurrentChannelModeReachTheHandles)
{
    view->setParameter(1005, 0.25f);
    view->setParameter(2005, 0.75f);
    EXPECT_EQ(panel().valueHandle[5], 0.25);

    controller->unit = nullptr; // the channel change below then keeps the handles
    view->setParameter(103, 1);
    view->setParameter(2005, 0.75f);
    EXPECT_EQ(panel().valueHandle[5], 0.75);

    panel().isDrawerVisible = false;
    view->setParameter(2006, 0.75f);
    EXPECT_EQ(panel().valueHandle[6], 0.5);
}

TEST_F(VelmoraFlowViewSyncTest, AHostChangeOfChannelModeLoadsThatModesBands)
{
    view->setParameter(103, 3);
    EXPECT_EQ(unit.bandReads, (std::vector<std::int64_t>{3}));
    EXPECT_EQ(panel().valueHandle[0], unit.bands[3][0]);
    EXPECT_EQ(panel().valueHandle[127], unit.bands[3][127]);

    view->setParameter(103, 3.7f); // the same mode: nothing to load
    view->setParameter(103, 7);    // no table of its own
    EXPECT_EQ(unit.bandReads, (std::vector<std::int64_t>{3}));
    EXPECT_EQ(panel().valueProcessingMode, 7);
    EXPECT_EQ(panel().valueHandle[127], unit.bands[3][127]);

    controller->unit = nullptr;
    view->setParameter(103, 1);
    EXPECT_EQ(panel().valueProcessingMode, 1);
    EXPECT_EQ(panel().valueHandle[127], unit.bands[3][127]);
}

TEST_F(VelmoraFlowViewSyncTest, AHostChangeOfOperationModeOrRangeRebuildsTheNotesInRangeAndSendsNothing)
{
    view->setParameter(105, 63.5f); // 0.5 exactly: key 63
    view->setParameter(104, 1);     // harmonic shift edits the keys in range
    EXPECT_EQ(inRangeCount(), 65);
    EXPECT_FALSE(view->range()[62]);
    EXPECT_TRUE(view->range()[63]);
    EXPECT_TRUE(view->range()[127]);

    view->setParameter(104, 2); // filter 1 excludes them
    EXPECT_EQ(inRangeCount(), 63);
    EXPECT_TRUE(view->range()[62]);
    EXPECT_FALSE(view->range()[63]);

    view->setParameter(106, 63.5f);
    view->setParameter(104, 1);
    EXPECT_EQ(inRangeCount(), 1);
    EXPECT_TRUE(view->range()[63]);

    view->setParameter(104, 3);
    EXPECT_EQ(inRangeCount(), 128);
    view->setParameter(104, 0);
    EXPECT_EQ(inRangeCount(), 128);
    EXPECT_TRUE(delegate->sent.empty());
}

TEST_F(VelmoraFlowViewSyncTest, RangeEndsGivenAsKeysStayOnThoseKeys)
{
    view->setParameter(104, 1);
    for (int key = 0; key < 128; ++key) {
        view->setParameter(105, static_cast<float>(key));
        view->setParameter(106, static_cast<float>(key));
        ASSERT_EQ(inRangeCount(), 1) << key;
        ASSERT_TRUE(view->range()[key]) << key;
    }
}

TEST_F(VelmoraFlowViewSyncTest, CrossedEndsMarkNoNoteBetweenThem)
{
    view->setParameter(105, 80);
    view->setParameter(106, 40);
    view->setParameter(104, 1);
    EXPECT_EQ(inRangeCount(), 0);
    view->setParameter(104, 2);
    EXPECT_EQ(inRangeCount(), 128);
}

TEST_F(VelmoraFlowViewSyncTest, ModeValuesThatAreNotIntegersAreIgnoredAndRangeValuesAreClamped)
{
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), 1e30f, -1e30f};
    for (const float value : bad) {
        view->setParameter(103, value);
        view->setParameter(104, value);
    }
    EXPECT_EQ(panel().valueProcessingMode, 0);
    EXPECT_EQ(panel().valueOperationMode, 0);
    EXPECT_TRUE(unit.bandReads.empty());

    view->setParameter(104, 1);
    view->setParameter(105, -300);
    view->setParameter(106, 1e30f);
    EXPECT_EQ(inRangeCount(), 128);
    view->setParameter(105, std::numeric_limits<float>::quiet_NaN());
    view->setParameter(106, -1);
    EXPECT_EQ(inRangeCount(), 1);
    EXPECT_TRUE(view->range()[0]);
}

TEST_F(VelmoraFlowViewSyncTest, KeysAreHighlightedExactlyAndRedrawOnlyOnChange)
{
    int before = view->displayRequestCount();
    view->setKeys({60, 64, 67, -1, 128});
    EXPECT_EQ(view->displayRequestCount(), before + 3);
    for (int key = 0; key < 128; ++key) {
        EXPECT_EQ(panel().isKeySelected[key], key == 60 || key == 64 || key == 67) << key;
    }
    before = view->displayRequestCount();
    view->setKeys({67, 60, 64});
    EXPECT_EQ(view->displayRequestCount(), before);
    view->setKeys({});
    EXPECT_TRUE(std::none_of(panel().isKeySelected.begin(), panel().isKeySelected.end(), [](bool on) { return on; }));
}

TEST_F(VelmoraFlowViewSyncTest, ContrastSetsBothGreysOpaqueAndRedraws)
{
    const int before = view->displayRequestCount();
    view->setContrast(0.25);
    EXPECT_EQ(panel().colorContrast, UIColor(0.75, 0.75, 0.75, 1));
    EXPECT_EQ(panel().colorContrastInverted, UIColor(0.25, 0.25, 0.25, 1));
    view->setFocus(false);
    EXPECT_EQ(view->displayRequestCount(), before + 2);
}

} // namespace
