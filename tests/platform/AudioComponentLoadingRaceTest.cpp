#include "../support/PlugInBundle.h"
#include "AUViewController.h"
#include "AVAudioUnit.h"

#include <gtest/gtest.h>

#include <future>
#include <vector>

// Hosts may instantiate components and ask for their views from several
// threads at once; each answer arrives once, with its own unit.
TEST(AudioComponentLoadingRace, ConcurrentInstantiationsEachGetTheirOwnUnitAndView)
{
    const PlugInBundle bundle;
    bundle.add({.folder = "Effect", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    const auto components = std::make_shared<AVAudioUnitComponentManager>(bundle.path());

    constexpr int kCount = 4;
    std::vector<std::promise<std::shared_ptr<AVAudioUnit>>> nodes(kCount);
    for (auto& node : nodes) {
        AVAudioUnit::instantiate(
            {0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0}, {},
            [&node](std::shared_ptr<AVAudioUnit> made, std::optional<AudioUnitError>) { node.set_value(made); },
            components);
    }
    std::vector<std::promise<std::shared_ptr<AUViewController>>> views(kCount);
    std::vector<std::shared_ptr<AVAudioUnit>> made;
    for (int index = 0; index < kCount; ++index) {
        made.push_back(nodes[index].get_future().get());
        ASSERT_TRUE(made.back());
        made.back()->auAudioUnit()->requestViewController(
            [&view = views[index]](std::shared_ptr<AUViewController> controller) { view.set_value(controller); });
    }
    for (int index = 0; index < kCount; ++index) {
        const auto controller = views[index].get_future().get();
        EXPECT_EQ(std::dynamic_pointer_cast<AUAudioUnitFactory>(controller), made[index]->plugInInstance());
        for (int other = 0; other < index; ++other) {
            EXPECT_NE(made[other]->auAudioUnit(), made[index]->auAudioUnit());
        }
    }
}
