#include "../support/DeepPropertyLists.h"
#include "../support/PlugInBundle.h"
#include "AVAudioUnitComponentManager.h"

#include <gtest/gtest.h>

// Each of these manifests ended the process that listed the plug-ins.
TEST(AudioComponentManifest, ManifestsHidingTheirDepthOrHoldingNulTextsAreSkipped)
{
    const PlugInBundle bundle;
    bundle.add({.folder = "Readable", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    const auto manifests = listsThatEndedTheProcess();
    for (std::size_t i = 0; i < manifests.size(); ++i) {
        const auto folder = bundle.path() / "PlugIns" / (std::to_string(i) + ".appex");
        std::filesystem::create_directories(folder);
        writeFile(folder / "Info.plist", manifests[i]);
    }
    const auto components = AVAudioUnitComponentManager(bundle.path()).componentsMatchingDescription({});
    ASSERT_EQ(components.size(), 1u);
    EXPECT_EQ(components[0].name(), "Readable");
}
