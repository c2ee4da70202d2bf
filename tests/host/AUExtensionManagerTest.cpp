#include "../support/LoadableSegments.h"
#include "../support/PipeTrap.h"
#include "../support/PlugInBundle.h"
#include "PlayerRig.h"

#include "AUExtensionManager.h"
#include "ProcessInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

// Prints what it is told, so that its calls show in the log's order.
class LocatorDelegate : public AUExtensionManagerDelegate {
public:
    void onFoundComponent(std::shared_ptr<AVAudioUnit> unit) override
    {
        found = std::move(unit);
        Console::print("delegate: found");
    }
    void onEngineInitialized() override { Console::print("delegate: initialized"); }

    std::shared_ptr<AVAudioUnit> found;
};

class AUExtensionManagerTest : public ::testing::Test {
protected:
    // The lines of a locator's whole life: it is let go at once and lives
    // on only while its search and instantiation hold it.
    std::vector<std::string> runLocator() { return runLocator(bundle); }
    std::vector<std::string> runLocator(const PlugInBundle& from)
    {
        const Console::Capture capture;
        std::weak_ptr<AUExtensionManager> locator = AUExtensionManager::make(
            delegate, rig.player, std::make_shared<AVAudioUnitComponentManager>(from.path()));
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!locator.expired() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_TRUE(locator.expired());
        rig.settle();
        return capture.lines();
    }

    std::string processLine() const
    {
        const auto& process = ProcessInfo::processInfo();
        return "\nProcess Name: " + process.processName() + " PID: " + std::to_string(process.processIdentifier())
            + "\n";
    }

    PlayerRig rig;
    PlugInBundle bundle;
    std::shared_ptr<LocatorDelegate> delegate = std::make_shared<LocatorDelegate>();
};

} // namespace

TEST_F(AUExtensionManagerTest, LogsTheStartUpAndInstantiatesOnlyTheFirstMatch)
{
    bundle.add({.folder = "A", .flags = 0x12, .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    bundle.add({.folder = "B", .library = FAKE_PLUGIN, .entry = "FailingEffectFactory"});

    EXPECT_EQ(runLocator(),
              (std::vector<std::string>{
                  "NOTE: WE ARE IN AUDIO UNIT RELEASE MODE. ENSURE THE STORYBOARD CONNECTIONS ARE VALID!",
                  "AUExtensionManager: Loaded component has following properties.",
                  processLine(),
                  "AUExtension (\ntype: aumf\nsubtype: kbrw\nmanufacturer: ZUNK\nflags: 0x00000012\n)",
                  "AUExtensionManager: Audio unit was found, making connections now ...",
                  "AUEnginePlayer: A new audio unit will be connected.",
                  "AUEnginePlayer: Audio unit was attached.",
                  "AUEnginePlayer::ERROR: There was a problem with the file processing format or the file is nil "
                  "(yet).",
                  "AUExtensionManager: Performed audio unit connection.",
                  "delegate: found",
                  "WARNING: Audio unit is nil (yet?).",
                  "delegate: initialized",
              }));
    ASSERT_TRUE(delegate->found);
    EXPECT_EQ(delegate->found->auAudioUnit()->contextName(), "running in distribution host");
}

TEST_F(AUExtensionManagerTest, NothingFoundOrNothingMadeIsLoggedAndNeverTold)
{
    bundle.add({.folder = "Other", .subType = "gain", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    EXPECT_EQ(runLocator(), (std::vector<std::string>{
                                "NOTE: WE ARE IN AUDIO UNIT RELEASE MODE. ENSURE THE STORYBOARD CONNECTIONS ARE VALID!",
                                "ERROR: There were no audio units found.",
                            }));

    bundle.add({.folder = "Failing", .library = FAKE_PLUGIN, .entry = "FailingEffectFactory"});
    const auto lines = runLocator();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[3], "AUExtension (\ntype: aumf\nsubtype: kbrw\nmanufacturer: ZUNK\nflags: 0x00000002\n)");
    EXPECT_EQ(lines[4], "AudioComponentDescription(componentType: 1635085670, componentSubType: 1801613943, "
                        "componentManufacturer: 1515540043, componentFlags: 2, componentFlagsMask: 0)");
    EXPECT_EQ(lines[5], "Error: Could not instantiate audio unit.");
    EXPECT_FALSE(delegate->found);
}

TEST_F(AUExtensionManagerTest, FoldersWithUnreadableListsDoNotHideTheEffectBesideThem)
{
    std::filesystem::create_directory(bundle.plugInFolder("A") / "Info.plist");
    const PipeTrap pipe(bundle.plugInFolder("B") / "Info.plist");
    std::filesystem::create_symlink("/dev/zero", bundle.plugInFolder("C") / "Info.plist");
    bundle.add({.folder = "D", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});

    const auto lines = runLocator();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "AUExtensionManager: Performed audio unit connection."),
              lines.end());
    EXPECT_TRUE(delegate->found);
    EXPECT_FALSE(pipe.wasOpened());
}

// Each is told apart only by the platform's own line; the locator reports
// them all alike.
TEST_F(AUExtensionManagerTest, ADamagedLibraryOrAnyThrowingPlugInCouldNotBeInstantiated)
{
    const auto cut = cutShortCopy(FAKE_PLUGIN, bundle.path() / "cut.so", loadableSegments(FAKE_PLUGIN).lastStart);
    const std::vector<PlugInBundle::PlugIn> plugIns{
        {.folder = "Cut", .library = cut, .entry = "FakeEffectFactory"},
        {.folder = "Entry", .library = FAKE_PLUGIN, .entry = "ThrowingEntryFactory"},
        {.folder = "Stray", .library = FAKE_PLUGIN, .entry = "StrayThrowingFactory"},
    };
    for (const auto& plugIn : plugIns) {
        const PlugInBundle damaged;
        const auto library = damaged.add(plugIn);
        auto lines = runLocator(damaged);
        if (plugIn.folder == "Cut") {
            ASSERT_EQ(lines.size(), 7u);
            EXPECT_TRUE(lines[4].starts_with("AVAudioUnitComponentManager::ERROR: The library '" + library.string()
                                             + "' cannot be loaded: it is cut short: "))
                << lines[4];
            lines.erase(lines.begin() + 4);
        }
        ASSERT_EQ(lines.size(), 6u) << plugIn.folder;
        EXPECT_EQ(lines[4], "AudioComponentDescription(componentType: 1635085670, componentSubType: 1801613943, "
                            "componentManufacturer: 1515540043, componentFlags: 2, componentFlagsMask: 0)");
        EXPECT_EQ(lines[5], "Error: Could not instantiate audio unit.");
        EXPECT_FALSE(delegate->found);
    }
}

TEST_F(AUExtensionManagerTest, OffersNoPresetsWithoutAUnitAndPlaysWithoutAnEffect)
{
    rig.addSound(1, 4800);
    rig.draws = {1};
    const Console::Capture capture;
    const auto locator = AUExtensionManager::make(delegate, rig.player,
                                                  std::make_shared<AVAudioUnitComponentManager>(bundle.path()));
    EXPECT_TRUE(locator->presets().empty());
    EXPECT_FALSE(locator->currentPreset());
    EXPECT_TRUE(locator->togglePlayback());
    rig.settle();
    EXPECT_FALSE(locator->togglePlayback());
    rig.settle();
    locator->cleanup();
}
