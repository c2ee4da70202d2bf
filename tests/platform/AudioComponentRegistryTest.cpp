#include "AudioComponentRegistry.h"

#include <gtest/gtest.h>

namespace {

constexpr AudioComponentDescription kEffect { 0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0 };

} // namespace

TEST(AudioComponentRegistryTest, RegisteredFactoryIsFoundByItsDescriptionAndBuildsWithTheGivenOptions)
{
    AudioComponentRegistry registry;
    AudioComponentDescription askedFor;
    AudioComponentInstantiationOptions askedWith;
    ASSERT_TRUE(registry.registerComponent(
        { kEffect, "ZUNK: effect",
          [&](const AudioComponentDescription& description, AudioComponentInstantiationOptions options) {
              askedFor = description;
              askedWith = options;
              return std::shared_ptr<AUAudioUnit>();
          } }));

    const auto found = registry.registration(kEffect);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->name, "ZUNK: effect");
    found->factory(kEffect, { AudioComponentInstantiationOptions::loadInProcess });
    EXPECT_EQ(askedFor, kEffect);
    EXPECT_EQ(askedWith.rawValue, 2u);
}

TEST(AudioComponentRegistryTest, UnknownDescriptionsDuplicatesAndEmptyFactoriesAreRefused)
{
    AudioComponentRegistry registry;
    auto factory = [](const AudioComponentDescription&, AudioComponentInstantiationOptions) {
        return std::shared_ptr<AUAudioUnit>();
    };
    EXPECT_FALSE(registry.registerComponent({ kEffect, "no factory", nullptr }));
    EXPECT_TRUE(registry.registerComponent({ kEffect, "first", factory }));
    EXPECT_FALSE(registry.registerComponent({ kEffect, "second", factory }));
    EXPECT_EQ(registry.registration(kEffect)->name, "first");

    AudioComponentDescription otherFlags = kEffect;
    otherFlags.componentFlags = 0;
    EXPECT_FALSE(registry.registration(otherFlags).has_value());
    EXPECT_EQ(&AudioComponentRegistry::shared(), &AudioComponentRegistry::shared());
}
