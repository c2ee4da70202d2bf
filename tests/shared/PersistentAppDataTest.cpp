#include "../support/PropertyListFile.h"
#include "../support/TemporaryFolder.h"
#include "Console.h"
#include "PersistentAppData.h"
#include "UserDefaultsSuites.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using Storage = PersistentAppData::Storage;

namespace {

class PersistentAppDataTest : public ::testing::Test {
protected:
    PersistentAppData& data = PersistentAppData::sharedInstance();

    TemporaryFolder config_;
    ScopedEnvironment configHome_{"XDG_CONFIG_HOME", config_.path().string()};
};

} // namespace

TEST(PersistentAppDataStorage, FromRawValue)
{
    EXPECT_EQ(PersistentAppData::storageFromRaw(1), Storage::shared);
    EXPECT_EQ(PersistentAppData::storageFromRaw(2), Storage::combined);
    EXPECT_FALSE(PersistentAppData::storageFromRaw(3) || PersistentAppData::storageFromRaw(-1));
}

TEST_F(PersistentAppDataTest, SettingsRoundTripThroughReopenedStores)
{
    data.setString("name", "Quillmere");
    data.setInteger("count", 652);
    data.setFloat("mix", 0.75f);
    data.setBool("frozen", true);
    data.setURL("folder", URL::fileURL("/tmp/presets"));
    data.setObject("list", PropertyListValue::Array{1, "two"});

    const PropertyListValue expected = PropertyListValue::Dictionary{
        {"name", "Quillmere"},
        {"count", 652},
        {"mix", 0.75f},
        {"frozen", true},
        {"folder", "file:///tmp/presets"},
        {"list", PropertyListValue::Array{1, "two"}}};
    EXPECT_EQ(readPropertyListFile(config_.path() / "shared_tests.plist"), expected);
    EXPECT_EQ(data.getFloat("mix"), 0.75f);
    EXPECT_EQ(data.getUrl("folder"), URL::fileURL("/tmp/presets"));

    data.setInteger("suite value", 7, Storage::shared);
    EXPECT_EQ(sharedUserDefaults()->integer("suite value"), 7);
    data.setURL("folder", std::nullopt);
    data.setObject("list", std::nullopt);
    EXPECT_FALSE(data.getUrl("folder"));
    EXPECT_FALSE(data.getObject("list"));
}

TEST_F(PersistentAppDataTest, DefaultsAndCombinedAreOneStoreWithTheSuiteOnItsSearchList)
{
    data.setInteger("written through combined", 5, Storage::combined);
    EXPECT_EQ(data.getInteger("written through combined", Storage::defaults), 5);
    EXPECT_EQ(data.getInteger("written through combined", Storage::shared), 0);

    data.setInteger("in the suite", 9, Storage::shared);
    EXPECT_EQ(data.getInteger("in the suite", Storage::defaults), 9);
    EXPECT_EQ(data.getInteger("in the suite", Storage::combined), 9);

    data.setInteger("in the suite", 1, Storage::defaults);
    EXPECT_EQ(data.getInteger("in the suite", Storage::shared), 9);
    EXPECT_EQ(data.getInteger("in the suite", Storage::combined), 1);
    EXPECT_EQ(combinedUserDefaults(), UserDefaults::standard());
}

TEST(PersistentAppDataFrame, FrameToDictionaryUsesTheStandardizedRectangle)
{
    const PropertyListValue plain = PersistentAppData::frameToDictionary(CGRect(10, 20, 300, 400));
    EXPECT_EQ(plain, PropertyListValue(PropertyListValue::Dictionary{
                         {"left", 10.0}, {"top", 20.0}, {"width", 300.0}, {"height", 400.0}}));
    const auto flipped = PersistentAppData::frameToDictionary(CGRect(10, 20, -30, 40));
    EXPECT_EQ(flipped.at("left"), PropertyListValue(-20.0));
    EXPECT_EQ(flipped.at("width"), PropertyListValue(30.0));
    const auto narrowed = PersistentAppData::frameToDictionary(CGRect(0.1, 0, 0, 0));
    EXPECT_EQ(narrowed.at("left"), PropertyListValue(static_cast<double>(0.1f)));
}

TEST_F(PersistentAppDataTest, DictionaryToFrameFillsMissingEntriesAndRejectsWrongTypes)
{
    const auto store = [&](const char* key, PropertyListValue value) { data.setObject(key, value); };
    store("only width", PropertyListValue::Dictionary{{"width", 300}});
    store("empty", PropertyListValue::Dictionary{});
    store("extra", PropertyListValue::Dictionary{{"top", 5.5}, {"depth", 9}});
    store("text", "not a frame");
    store("one bad entry", PropertyListValue::Dictionary{{"left", 1}, {"top", "2"}});
    store("frame", PersistentAppData::frameToDictionary(CGRect(10, 20, 300, 400)));

    EXPECT_EQ(PersistentAppData::dictionaryToFrame("only width"), CGRect(0, 0, 300, 100));
    EXPECT_EQ(PersistentAppData::dictionaryToFrame("empty"), CGRect(0, 0, 100, 100));
    EXPECT_EQ(PersistentAppData::dictionaryToFrame("extra"), CGRect(0, 5.5, 100, 100));
    EXPECT_EQ(PersistentAppData::dictionaryToFrame("frame"), CGRect(10, 20, 300, 400));
    EXPECT_FALSE(PersistentAppData::dictionaryToFrame("text"));
    EXPECT_FALSE(PersistentAppData::dictionaryToFrame("one bad entry"));
    EXPECT_FALSE(PersistentAppData::dictionaryToFrame("absent"));
}

TEST_F(PersistentAppDataTest, DumpoutPrintsEveryStore)
{
    data.setInteger("app", 1);
    data.setString("group", "g", Storage::shared);
    Console::Capture capture;
    data.dumpout();
    EXPECT_THAT(capture.lines(),
                ElementsAre("PersistentAppData::dumpout() : UserDefaults.standard : ",
                            "app = 1 \n", "group = g \n",
                            "PersistentAppData::dumpout() : UserDefaults.shared : ", "group = g \n",
                            "PersistentAppData::dumpout() : UserDefaults.combined : ",
                            "app = 1 \n", "group = g \n"));
}
