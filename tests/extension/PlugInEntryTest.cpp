#include "../support/PropertyListFile.h"
#include "AUAudioUnit.h"
#include "AUViewController.h"
#include "AudioComponentPlugIn.h"
#include "AudioUnitError.h"
#include "Console.h"
#include "FourCharCode.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <filesystem>

namespace {

constexpr AudioComponentDescription kEffect{0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0};

// The plug-in, loaded once for the whole program as a host loads it; never
// unloaded, since the objects it made may outlive a test.
void* plugIn()
{
    static void* const handle = dlopen(PLUGIN_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return handle;
}

AudioComponentPlugInEntry entry(const std::string& symbol)
{
    return reinterpret_cast<AudioComponentPlugInEntry>(dlsym(plugIn(), symbol.c_str()));
}

std::string text(const PropertyListValue::Dictionary& info, const std::string& key)
{
    const auto* value = info.at(key).get<std::string>();
    return value ? *value : "";
}

} // namespace

TEST(PlugInEntry, TheInformationListNamesTheLibraryTheEntryAndTheComponentTheEntryNames)
{
    ASSERT_NE(plugIn(), nullptr) << dlerror();
    const auto info = *readPropertyListFile(PLUGIN_INFO).get<PropertyListValue::Dictionary>();
    EXPECT_EQ(std::filesystem::path(PLUGIN_LIBRARY).filename(), text(info, "library"));
    const auto factory = entry(text(info, "entry"));
    ASSERT_NE(factory, nullptr);
    const AudioComponentPlugIn made = factory();
    EXPECT_EQ(made.description, kEffect);
    EXPECT_EQ(text(info, "type"), stringValue(made.description.componentType));
    EXPECT_EQ(text(info, "subtype"), stringValue(made.description.componentSubType));
    EXPECT_EQ(text(info, "manufacturer"), stringValue(made.description.componentManufacturer));
    EXPECT_EQ(info.at("flags"), PropertyListValue(2));
}

TEST(PlugInEntry, ExportsOnlyItsEntryWhichMakesANewFactoryForEachUnit)
{
    ASSERT_NE(plugIn(), nullptr) << dlerror();
    // A function the plug-in holds a copy of, by its C++ name.
    EXPECT_EQ(dlsym(plugIn(), "_Z11stringValuej"), nullptr);
    const auto factory = entry("ZUV_VELMORA_Quillmere_ExtensionFactory");
    ASSERT_NE(factory, nullptr);
    const auto first = factory().factory;
    EXPECT_NE(factory().factory, first);
    // The factory is the controller a host asks for the unit's view.
    EXPECT_TRUE(std::dynamic_pointer_cast<AUViewController>(first));
    const Console::Capture capture;
    const auto unit = first->createAudioUnit(kEffect);
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->componentDescription(), kEffect);
    EXPECT_THROW(first->createAudioUnit({}), AudioUnitError);
}
