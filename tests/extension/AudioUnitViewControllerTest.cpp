#include "AudioUnitError.h"
#include "ControllerFixture.h"
#include "PluginFrameEx.h"
#include "RangeKey.h"
#include "Timer.h"
#include "UIButton.h"
#include "UILabel.h"
#include "UILongPressGestureRecognizer.h"
#include "UIPanGestureRecognizer.h"
#include "UIPinchGestureRecognizer.h"
#include "UISlider.h"
#include "UITapGestureRecognizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

const std::string kHeading = "\tExtensionViewController: Folllowing AU parameter was found... ";
const std::string kConnected = "AU Diagnostics: Connected parameters to the plugins interface.";
const std::string kAboutToConnect = "AU Diagnostics: We are about to connect the audio unit to its view controller.";
const std::string kNotLoaded = "AU Diagnostics: WARNING: Plugin view is not loaded.";
const std::string kNoUnitYet = "AudioUnitViewController: WARNING: The audio unit plugin is nil (yet?).";

// The description lines that follow "- address:  <address>".
std::vector<std::string> description(const std::vector<std::string>& lines, AUParameterAddress address)
{
    const auto found = std::find(lines.begin(), lines.end(), "\t- address:  " + std::to_string(address));
    if (found == lines.end()) {
        return {};
    }
    const auto end = std::find_if(found, lines.end(), [](const std::string& line) { return line.empty() || line[0] != '\t'; });
    return {found + 1, end};
}

class StartUp : public ControllerFixture {
protected:
    // Values that differ from the defaults, set on the unit before it is
    // connected, so that the panel shows them only once they are pushed.
    void setUnitValues(ZUV_VELMORA_Quillmere_Extension_AudioUnit& unit)
    {
        unit.setParameter(107, 0.25f);
        unit.setParameter(105, 10.0f);
        unit.setParameter(1005, 0.75f);
    }

    // Connected exactly once, with every parameter printed and pushed and
    // one observer on the tree.
    void expectConnectedOnce(const ZUV_VELMORA_Quillmere_Extension_AudioUnit& unit)
    {
        const auto lines = capture.lines();
        EXPECT_EQ(count(lines, kHeading), 652);
        EXPECT_EQ(count(lines, kConnected), 1);
        const auto& panel = controller->velmoraView()->baseClass();
        EXPECT_EQ(panel.valueMix, 0.25);
        EXPECT_EQ(rangeKey(panel.valueRangeLeft), 10);
        EXPECT_EQ(panel.valueHandle[5], 0.75);
        const int before = controller->velmoraView()->displayRequestCount();
        treeParameter(unit, 107).setValue(0.5f);
        EXPECT_EQ(controller->velmoraView()->displayRequestCount(), before);
        clock.advance(0);
        EXPECT_EQ(controller->velmoraView()->displayRequestCount(), before + 1);
        EXPECT_EQ(panel.valueMix, 0.5);
    }
};

} // namespace

TEST_F(StartUp, ViewFirstConnectsFromTheQueuedBlock)
{
    controller->view();
    const auto unit = createUnit();
    setUnitValues(*unit);
    EXPECT_EQ(count(capture.lines(), kHeading), 0);
    clock.advance(0);
    const auto lines = capture.lines();
    EXPECT_EQ(count(lines, kNoUnitYet), 1);
    EXPECT_EQ(count(lines, kAboutToConnect), 1);
    expectConnectedOnce(*unit);
}

TEST_F(StartUp, UnitFirstConnectsWhenTheViewLoadsAfterTheBlock)
{
    const auto unit = createUnit();
    setUnitValues(*unit);
    clock.advance(0);
    EXPECT_EQ(count(capture.lines(), kNotLoaded), 1);
    controller->view();
    clock.advance(0);
    EXPECT_EQ(count(capture.lines(), kAboutToConnect), 0);
    expectConnectedOnce(*unit);
}

TEST_F(StartUp, UnitAndViewBeforeTheBlockConnectOnce)
{
    const auto unit = createUnit();
    setUnitValues(*unit);
    controller->view();
    clock.advance(0);
    const auto lines = capture.lines();
    EXPECT_EQ(count(lines, kNotLoaded), 0);
    EXPECT_EQ(count(lines, kAboutToConnect), 0);
    const auto didSet = std::find(lines.begin(), lines.end(), "AU Diagnostics: AUAudioUnit::didSet()");
    ASSERT_GE(std::distance(didSet, lines.end()), 5);
    EXPECT_THAT(std::vector<std::string>(didSet, didSet + 5),
                ElementsAre("AU Diagnostics: AUAudioUnit::didSet()",
                            "Audio Unit's documents path is: " + (home.path() / "extension_tests/Documents").string(),
                            ::testing::StartsWith("Audio Unit's resources path is: "),
                            "AU Diagnostics: Retriving parameters from the audio unit: ",
                            "ExtensionViewController: Extracting at the parameter tree: "));
    expectConnectedOnce(*unit);
}

TEST_F(ControllerFixture, TheDescriptionsOfTheUnitsParameters)
{
    connectUnit();
    const auto lines = capture.lines();
    EXPECT_THAT(description(lines, 100),
                ElementsAre("\t- displayName:  Bypass Off/On", "\t- value:  0.0", "\t- options:  3221225472",
                            "\t- The flag value includes the following flags... ", "\t - flag_IsReadable",
                            "\t - flag_IsWritable", "\t- maxValue:  1.0", "\t- minValue:  0.0",
                            "\t- unit: (type 2)  boolean", "\t- unitName:  ", "\t- valueStrings:  []"));
    const auto readOnly = description(lines, 111);
    ASSERT_EQ(readOnly.size(), 10u);
    EXPECT_EQ(readOnly[2], "\t- options:  1073741824");
    EXPECT_EQ(readOnly[4], "\t - flag_IsReadable");
    EXPECT_THAT(description(lines, 106), ::testing::Contains("\t- unit: (type 12)  midiController"));
    EXPECT_THAT(description(lines, 5127), ::testing::Contains("\t- displayName:  Sie Channel Value 127"));
}

TEST_F(ControllerFixture, TheInterfaceIsBuiltWithEveryOutletBeforeTheViewLoads)
{
    const auto root = controller->view();
    const auto panel = controller->pluginView();
    ASSERT_TRUE(panel && controller->pluginFrame() && controller->velmoraView() && controller->waterfallView());
    EXPECT_EQ(panel->superview(), root);
    EXPECT_EQ(controller->currentView(), panel);
    EXPECT_THAT(panel->subviews(),
                ElementsAre(std::static_pointer_cast<UIView>(controller->pluginFrame()),
                            std::static_pointer_cast<UIView>(controller->waterfallView()),
                            std::static_pointer_cast<UIView>(controller->velmoraView())));
    EXPECT_EQ(controller->velmoraView()->frame(), CGRect(0, 0, 600, 660));
    EXPECT_EQ(controller->pluginFrame()->frame(), CGRect(0, 0, 600, 660));
    EXPECT_EQ(controller->waterfallView()->frame(), CGRect(44, 82, 512, 496));
    // The waterfall follows the flow area when the panel is fitted to another size.
    panel->setFrame(CGRect(0, 0, 300, 330));
    panel->layoutIfNeeded();
    EXPECT_EQ(controller->waterfallView()->frame(), CGRect(22, 41, 256, 248));
    EXPECT_EQ(controller->velmoraView()->frame(), CGRect(0, 0, 300, 330));

    EXPECT_TRUE(controller->infoView()->isHidden());
    EXPECT_EQ(controller->infoMessage()->superview(), controller->infoView());
    EXPECT_EQ(controller->brightnessSlider()->minimumValue(), 0.0f);
    EXPECT_EQ(controller->brightnessSlider()->maximumValue(), 1.0f);
    EXPECT_EQ(controller->brightnessSlider()->value(), controller->pluginFrame()->contrast());
    EXPECT_TRUE(controller->contrastButton() && controller->freezeButton());

    const std::vector<std::shared_ptr<UIGestureRecognizer>> recognisers{
        controller->panGesture(), controller->pinchGesture(), controller->doubleTapGesture(),
        controller->tapGesture(), controller->longPressGesture()};
    EXPECT_THAT(root->gestureRecognizers(), ElementsAreArray(recognisers));
    for (const auto& recogniser : recognisers) {
        EXPECT_FALSE(recogniser->cancelsTouchesInView());
    }
    EXPECT_EQ(controller->doubleTapGesture()->numberOfTapsRequired(), 2);
    controller->tapGesture()->setState(UIGestureRecognizerState::ended);
    EXPECT_EQ(controller->tapGesture()->state(), UIGestureRecognizerState::possible);
}

TEST_F(ControllerFixture, TheViewsReachTheControllerWithoutOwningIt)
{
    const auto unit = connectUnit();
    const auto flow = controller->velmoraView();
    const auto link = flow->viewController();
    ASSERT_TRUE(link);
    EXPECT_FALSE(link.owner_before(controller) || controller.owner_before(link));
    EXPECT_EQ(flow->delegate(), controller);
    EXPECT_EQ(controller->waterfallView()->viewController().lock(), link);
    link->setTouchesLocked(true);
    EXPECT_TRUE(controller->touchesLocked());
    // The bands the flow view reads are the kernel's.
    EXPECT_EQ(link->audioUnit()->getBands(3)[7], 0.5f);
    unit->setParameter(4007, 0.125f);
    EXPECT_EQ(link->audioUnit()->getBands(3)[7], 0.125f);
    EXPECT_FLOAT_EQ(link->audioUnit()->getFrequencies()[69], 440.0f);
}

TEST_F(ControllerFixture, PanelEditsReachTheUnitAndViewOptionsTheWaterfall)
{
    controller->view();
    controller->onVelmoraFlowViewParameter(107, 0.3f);
    controller->onVelmoraFlowViewOption(6002, 3.7f);
    EXPECT_EQ(controller->waterfallView()->baseClass().speed, 16);
    const auto unit = connectUnit();
    const Console::Capture quiet;
    controller->onVelmoraFlowViewParameter(107, 0.3f);
    EXPECT_EQ(unit->getParameter(107), 0.3f);
    // 2^32 + 107 would wrap to 107 as a 32-bit address.
    controller->onVelmoraFlowViewParameter((std::int64_t{1} << 32) + 107, 0.9f);
    EXPECT_EQ(unit->getParameter(107), 0.3f);
    EXPECT_TRUE(quiet.lines().empty());

    const auto waterfall = controller->waterfallView();
    controller->onVelmoraFlowViewOption(6003, 1.0f);
    EXPECT_TRUE(waterfall->suspended());
    controller->onVelmoraFlowViewOption(6004, 0.0f);
    controller->onVelmoraFlowViewOption(6002, std::nanf(""));
    controller->onVelmoraFlowViewOption(6002, 1e30f);
    EXPECT_TRUE(waterfall->suspended());
    EXPECT_EQ(waterfall->baseClass().speed, 16);
    controller->onVelmoraFlowViewOption(6003, 0.0f);
    EXPECT_FALSE(waterfall->suspended());
}

TEST_F(ControllerFixture, ParametersByAddress)
{
    controller->setParameter(103, 2.0f);
    EXPECT_EQ(controller->getParameter(103), 0.0f);
    const auto unit = connectUnit();
    const Console::Capture errors;
    controller->setParameter(103, 2.0f);
    EXPECT_EQ(controller->getParameter(103), 2.0f);
    EXPECT_EQ(unit->getParameter(103), 2.0f);
    EXPECT_EQ(controller->getParameter(99), 0.0f);
    controller->setParameter(-1, 1.0f);
    EXPECT_THAT(errors.lines(),
                ElementsAre("AudioUnitViewController: ERROR: The parameter address 99 is not available.",
                            "AudioUnitViewController: ERROR: The parameter address -1 is not available."));
    const auto lines = capture.lines();
    EXPECT_EQ(count(lines, "AudioUnitViewController: ERROR: The parameter address 103 is not available."), 2);
}

TEST_F(ControllerFixture, AFailingUnitLeavesTheUnitItHad)
{
    const auto unit = createUnit();
    EXPECT_THROW(controller->createAudioUnit({0, 0x6B627277, 0x5A554E4B, 0, 0}), AudioUnitError);
    EXPECT_EQ(controller->audioUnit(), unit);
    clock.advance(0);
    EXPECT_EQ(count(capture.lines(), "AU Diagnostics: AUAudioUnit::didSet()"), 1);
}

TEST_F(ControllerFixture, ASecondUnitReplacesTheFirstsConnection)
{
    const auto first = connectUnit();
    const auto second = createUnit();
    clock.advance(0);
    EXPECT_EQ(count(capture.lines(), kAboutToConnect), 1);
    EXPECT_EQ(count(capture.lines(), kHeading), 2 * 652);
    const auto flow = controller->velmoraView();
    const int before = flow->displayRequestCount();
    treeParameter(*first, 107).setValue(0.125f);
    clock.advance(0);
    EXPECT_EQ(flow->displayRequestCount(), before);
    controller->setParameter(107, 0.75f);
    EXPECT_EQ(second->getParameter(107), 0.75f);
    clock.advance(0);
    EXPECT_EQ(flow->displayRequestCount(), before + 1);
    EXPECT_EQ(flow->baseClass().valueMix, 0.75);
}

TEST_F(ControllerFixture, DestructionStopsTheTimerAndTheObserver)
{
    const auto unit = connectUnit();
    const std::weak_ptr<AudioUnitViewController> gone = controller;
    const auto timer = controller->timer();
    const auto waterfall = controller->waterfallView();
    ASSERT_TRUE(timer && timer->isValid());
    EXPECT_DOUBLE_EQ(timer->timeInterval(), 0.1);
    controller.reset();
    EXPECT_TRUE(gone.expired());
    EXPECT_FALSE(timer->isValid());
    const int before = waterfall->displayRequestCount();
    const Console::Capture after;
    treeParameter(*unit, 107).setValue(0.125f);
    clock.advance(1.0);
    EXPECT_EQ(waterfall->displayRequestCount(), before);
    EXPECT_TRUE(after.lines().empty());
}

TEST_F(ControllerFixture, AnObserverCalledWhileTheControllerGoesSaysSo)
{
    const auto unit = createUnit();
    // Observers hear a change in the order they were added: this one drops
    // the controller before the controller's own observer is called.
    const auto token = unit->parameterTree()->tokenByAddingParameterObserver(
        [this](AUParameterAddress, AUValue) { controller.reset(); });
    controller->view();
    clock.advance(0);
    const Console::Capture change;
    treeParameter(*unit, 107).setValue(0.125f);
    EXPECT_FALSE(controller);
    EXPECT_THAT(change.lines(), ElementsAre("AU Diagnostics: The strong self shit is nil."));
    unit->parameterTree()->removeParameterObserver(token);
}
