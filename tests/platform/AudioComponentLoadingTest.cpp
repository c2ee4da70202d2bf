#include "../support/GainAudioUnit.h"
#include "../support/LoadableSegments.h"
#include "../support/PipeTrap.h"
#include "../support/PlugInBundle.h"
#include "AUViewController.h"
#include "AVAudioUnit.h"
#include "AVAudioUnitComponentManager.h"
#include "Console.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

constexpr AudioComponentDescription kEffect{0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0};

struct Answer {
    std::shared_ptr<AVAudioUnit> node;
    std::optional<AudioUnitError> error;
    std::thread::id thread;
};

// An instantiation that never answers fails the test instead of holding it.
Answer instantiate(const PlugInBundle& bundle, const AudioComponentDescription& description)
{
    const auto answer = std::make_shared<std::promise<Answer>>();
    AVAudioUnit::instantiate(
        description, {},
        [answer](std::shared_ptr<AVAudioUnit> node, std::optional<AudioUnitError> error) {
            answer->set_value({std::move(node), std::move(error), std::this_thread::get_id()});
        },
        std::make_shared<AVAudioUnitComponentManager>(bundle.path()));
    auto future = answer->get_future();
    if (future.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
        ADD_FAILURE() << "the instantiation never answered";
        return {};
    }
    return future.get();
}

} // namespace

TEST(AudioComponentLoading, MatchesTheWayHostsSearch)
{
    const auto matches = AVAudioUnitComponentManager::matches;
    EXPECT_TRUE(matches(kEffect, kEffect));
    EXPECT_TRUE(matches(kEffect, {0, 0, 0, 0, 0}));
    EXPECT_TRUE(matches(kEffect, {0x61756D66, 0, 0x5A554E4B, 0, 0}));
    EXPECT_FALSE(matches(kEffect, {0x61756678, 0, 0, 0, 0}));
    // Flags count only under the mask.
    EXPECT_FALSE(matches({1, 2, 3, 0x12, 0}, {1, 2, 3, 0x5, 0x2}));
    EXPECT_TRUE(matches({1, 2, 3, 0x12, 0}, {1, 2, 3, 0x2, 0x2}));
    EXPECT_TRUE(matches({1, 2, 3, 0x12, 0}, {1, 2, 3, 0x7, 0}));
}

TEST(AudioComponentLoading, ListsReadablePlugInsInFolderOrderAndSkipsTheRest)
{
    const PlugInBundle bundle;
    bundle.add({.folder = "B", .flags = 3, .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    const auto library = bundle.add({.folder = "A", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    bundle.add({.folder = "C", .subType = "other", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    bundle.add({.folder = "D", .subType = "gain", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    const AVAudioUnitComponentManager manager(bundle.path());

    const auto found = manager.componentsMatchingDescription(kEffect);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name(), "A");
    EXPECT_EQ(found[1].name(), "B");
    EXPECT_EQ(found[1].audioComponentDescription(), (AudioComponentDescription{0x61756D66, 0x6B627277, 0x5A554E4B, 3, 0}));
    EXPECT_EQ(found[0].library(), library);
    EXPECT_EQ(manager.componentsMatchingDescription({}).size(), 3u);
    EXPECT_TRUE(AVAudioUnitComponentManager(bundle.path() / "nowhere").componentsMatchingDescription({}).empty());
}

TEST(AudioComponentLoading, InstantiatesOnAWorkerAndAsksTheMakingInstanceForTheView)
{
    const PlugInBundle bundle;
    bundle.add({.folder = "Effect", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});

    const auto answer = instantiate(bundle, kEffect);
    ASSERT_TRUE(answer.node) << answer.error->what();
    EXPECT_NE(answer.thread, std::this_thread::get_id());
    const auto& unit = answer.node->auAudioUnit();
    ASSERT_TRUE(std::dynamic_pointer_cast<GainAudioUnit>(unit));

    std::promise<std::pair<std::shared_ptr<AUViewController>, std::thread::id>> delivered;
    unit->requestViewController([&](std::shared_ptr<AUViewController> controller) {
        delivered.set_value({std::move(controller), std::this_thread::get_id()});
    });
    const auto [controller, thread] = delivered.get_future().get();
    EXPECT_TRUE(controller);
    EXPECT_NE(thread, std::this_thread::get_id());
    EXPECT_EQ(std::dynamic_pointer_cast<AUAudioUnitFactory>(controller), answer.node->plugInInstance());
}

TEST(AudioComponentLoading, ReportsWhatCannotBeInstantiated)
{
    const PlugInBundle bundle;
    bundle.add({.folder = "Failing", .library = FAKE_PLUGIN, .entry = "FailingEffectFactory"});
    bundle.add({.folder = "NoEntry", .type = "aufx", .library = FAKE_PLUGIN, .entry = "NoSuchEntry"});
    bundle.add({.folder = "NoLibrary", .type = "aumu", .entry = "FakeEffectFactory", .libraryText = "missing.so"});

    for (const std::uint32_t type : {0x61756D66u, 0x61756678u, 0x61756D75u, 0x61756D69u}) {
        const auto answer = instantiate(bundle, {type, 0, 0, 0, 0});
        EXPECT_FALSE(answer.node);
        ASSERT_TRUE(answer.error);
        EXPECT_EQ(answer.error->code(), kAudioUnitErr_FailedInitialization);
    }
}

TEST(AudioComponentLoading, AnUnreadableListLeavesOutOnlyItsOwnPlugIn)
{
    const PlugInBundle bundle;
    std::filesystem::create_directory(bundle.plugInFolder("A") / "Info.plist");
    const PipeTrap pipe(bundle.plugInFolder("B") / "Info.plist");
    std::filesystem::create_symlink("/dev/zero", bundle.plugInFolder("C") / "Info.plist");
    bundle.add({.folder = "D", .library = FAKE_PLUGIN, .entry = "FakeEffectFactory"});
    const AVAudioUnitComponentManager manager(bundle.path());

    const auto found = manager.componentsMatchingDescription({});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name(), "D");
    const auto answer = instantiate(bundle, kEffect);
    ASSERT_TRUE(answer.node);
    EXPECT_TRUE(std::dynamic_pointer_cast<GainAudioUnit>(answer.node->auAudioUnit()));
    EXPECT_FALSE(pipe.wasOpened());
}

// Cut where its last segment starts, the loader would map that segment past
// the file's end and fault when it wrote there.
TEST(AudioComponentLoading, ALibraryCutShortIsRefusedWithAnErrorLineAndNeverLoaded)
{
    const PlugInBundle bundle;
    const auto size = loadableSegments(FAKE_PLUGIN).lastStart;
    const auto copy = bundle.add({.folder = "Cut",
                                  .library = cutShortCopy(FAKE_PLUGIN, bundle.path() / "cut.so", size),
                                  .entry = "FakeEffectFactory"});

    const Console::Capture capture;
    const auto answer = instantiate(bundle, kEffect);
    EXPECT_FALSE(answer.node);
    ASSERT_TRUE(answer.error);
    EXPECT_EQ(answer.error->code(), kAudioUnitErr_FailedInitialization);
    const std::string refusal = "The library '" + copy.string() + "' cannot be loaded: it is cut short: it holds "
        + std::to_string(size) + " bytes where its ELF headers call for ";
    EXPECT_TRUE(std::string(answer.error->what()).starts_with(refusal)) << answer.error->what();
    EXPECT_EQ(capture.lines(), std::vector<std::string>{"AVAudioUnitComponentManager::ERROR: " + std::string(answer.error->what())});
}

// Some linkers place a segment that holds no file bytes past the file's end.
// Off a page boundary, the loader maps its page from the file and clears the
// rest of it, which faulted there.
TEST(AudioComponentLoading, AZeroFilledSegmentPastTheFilesEndNeedsNothingFromItOnAPageBoundary)
{
    const PlugInBundle bundle;
    const PlugInBundle damaged;
    const PlugInBundle unaligned;
    bundle.add({.folder = "Whole", .library = withZeroFilledSegment(FAKE_PLUGIN, bundle.path() / "whole.so"),
                .entry = "FakeEffectFactory"});
    const auto offPage = unaligned.add(
        {.folder = "Unaligned",
         .library = withZeroFilledSegment(FAKE_PLUGIN, unaligned.path() / "unaligned.so", 0x100),
         .entry = "FakeEffectFactory"});
    const auto cut = withZeroFilledSegment(FAKE_PLUGIN, damaged.path() / "cut.so");
    std::filesystem::resize_file(cut, loadableSegments(FAKE_PLUGIN).lastStart);
    damaged.add({.folder = "Cut", .library = cut, .entry = "FakeEffectFactory"});

    const auto answer = instantiate(bundle, kEffect);
    ASSERT_TRUE(answer.node) << answer.error->what();
    EXPECT_TRUE(std::dynamic_pointer_cast<GainAudioUnit>(answer.node->auAudioUnit()));
    const auto refusal = instantiate(damaged, kEffect);
    ASSERT_TRUE(refusal.error);
    EXPECT_TRUE(std::string(refusal.error->what())
                    .ends_with("call for " + std::to_string(std::filesystem::file_size(FAKE_PLUGIN)) + "."))
        << refusal.error->what();
    EXPECT_TRUE(std::string(instantiate(unaligned, kEffect).error.value().what())
                    .starts_with("The library '" + offPage.string() + "' cannot be loaded: it is cut short: "));
}

// A plug-in holds its own code: a list that named a library elsewhere had it
// loaded. The plug-in folder may still be reached through a link, and a link
// inside it may lead to a file beside it.
TEST(AudioComponentLoading, ALibraryOutsideItsPlugInFolderIsRefusedWithAnErrorLineAndNeverLoaded)
{
    const PlugInBundle bundle;
    const auto elsewhere = bundle.path() / "real.so";
    std::filesystem::copy_file(FAKE_PLUGIN, elsewhere);
    const auto up = bundle.add({.folder = "Up", .entry = "FakeEffectFactory", .libraryText = "../../real.so"});
    bundle.add({.folder = "Absolute", .type = "aufx", .entry = "FakeEffectFactory", .libraryText = FAKE_PLUGIN});
    std::filesystem::create_symlink(
        elsewhere, bundle.add({.folder = "Link", .type = "aumu", .entry = "FakeEffectFactory", .libraryText = "l.so"}));
    const Console::Capture capture;
    for (const std::uint32_t type : {0x61756D66u, 0x61756678u, 0x61756D75u}) {
        const auto answer = instantiate(bundle, {type, 0, 0, 0, 0});
        ASSERT_TRUE(answer.error);
        EXPECT_EQ(capture.lines().back(), "AVAudioUnitComponentManager::ERROR: " + std::string(answer.error->what()));
    }
    EXPECT_EQ(capture.lines().size(), 3u);
    EXPECT_EQ(capture.lines().front(), "AVAudioUnitComponentManager::ERROR: The library '" + up.string()
                                           + "' cannot be loaded: it is '" + elsewhere.string()
                                           + "', outside its plug-in folder '" + bundle.plugInFolder("Up").string()
                                           + "'.");

    const PlugInBundle holder;
    const PlugInBundle linked;
    const auto library = holder.add({.folder = "Inside", .entry = "FakeEffectFactory", .libraryText = "l.so"});
    std::filesystem::copy_file(FAKE_PLUGIN, library.parent_path() / "real.so");
    std::filesystem::create_symlink("real.so", library);
    std::filesystem::create_directory(linked.path() / "PlugIns");
    std::filesystem::create_directory_symlink(library.parent_path(), linked.path() / "PlugIns" / "Linked.appex");
    const auto answer = instantiate(linked, kEffect);
    ASSERT_TRUE(answer.node) << answer.error->what();
}

TEST(AudioComponentLoading, WhateverAPlugInThrowsIsAnsweredAsTheUnitsError)
{
    const PlugInBundle bundle;
    bundle.add({.folder = "Entry", .library = FAKE_PLUGIN, .entry = "ThrowingEntryFactory"});
    bundle.add({.folder = "Stray", .type = "aufx", .library = FAKE_PLUGIN, .entry = "StrayThrowingFactory"});

    for (const auto& [type, what] : std::vector<std::pair<std::uint32_t, std::string>>{
             {0x61756D66u, "Entry failed: the entry gave up"}, {0x61756678u, "Stray threw an unknown exception"}}) {
        const auto answer = instantiate(bundle, {type, 0, 0, 0, 0});
        EXPECT_FALSE(answer.node);
        ASSERT_TRUE(answer.error);
        EXPECT_EQ(answer.error->code(), kAudioUnitErr_FailedInitialization);
        EXPECT_EQ(answer.error->what(), what);
    }
}
