#include "../support/TemporaryFolder.h"

#include "AppDelegate.h"
#include "AUViewController.h"
#include "Console.h"
#include "OfflineAudioOutput.h"
#include "RunLoop.h"
#include "UIApplication.h"
#include "ViewController.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace {

// Pumps the main run loop until `done` holds or ten seconds have passed.
template <class Condition> bool pumpUntil(Condition done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done() && std::chrono::steady_clock::now() < deadline) {
        RunLoop::main().runPending();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

double rms(const std::vector<float>& samples, std::size_t from)
{
    double sum = 0.0;
    for (std::size_t index = from; index < samples.size(); ++index) {
        sum += double(samples[index]) * samples[index];
    }
    return std::sqrt(sum / double(samples.size() - from));
}

} // namespace

// The application launches from its entry, finds the real plug-in in its
// bundle, embeds the effect's view and plays a bundle sound through it.
TEST(HostApplication, LaunchesFindsTheEffectEmbedsItsViewAndPlaysThroughIt)
{
    const TemporaryFolder home;
    const ScopedEnvironment data("XDG_DATA_HOME", (home.path() / "data").string());
    const ScopedEnvironment config("XDG_CONFIG_HOME", (home.path() / "config").string());
    const Console::Capture capture;

    UIApplication::shared().launch([] { return std::make_shared<AppDelegate>(); },
                                   [] { return std::make_shared<ViewController>(); });
    const auto& window = UIApplication::shared().delegate()->window;
    ASSERT_TRUE(window);
    const auto screen = std::dynamic_pointer_cast<ViewController>(window->rootViewController());
    ASSERT_TRUE(screen);
    EXPECT_EQ(capture.lines().front(), "Info: Main view controller loaded.");

    // The view is embedded only by what the main queue runs.
    ASSERT_TRUE(pumpUntil([&] { return !screen->children().empty(); }));
    const auto effectController = std::dynamic_pointer_cast<AUViewController>(screen->children().front());
    ASSERT_TRUE(effectController);
    EXPECT_EQ(effectController->parent(), screen);
    EXPECT_EQ(effectController->view()->superview(), screen->pluginView());
    EXPECT_TRUE(screen->pluginView()->isHidden());
    screen->buttonUnit()->sendActions(UIControlEvents::touchUpInside);
    EXPECT_FALSE(screen->pluginView()->isHidden());

    const auto output = std::make_shared<OfflineAudioOutput>();
    const auto& player = screen->audioUnitManager()->auEngine();
    player->engine().setOutputDevice(output);
    screen->playButton()->sendActions(UIControlEvents::touchUpInside);
    ASSERT_TRUE(pumpUntil([&] { return screen->playButton()->isHidden(); }));
    EXPECT_FALSE(screen->stopButton()->isHidden());

    // The effect delays what it plays by its 4096-frame analysis window.
    std::vector<float> played;
    while (played.size() < 24000) {
        const auto slice = output->render(512);
        played.insert(played.end(), slice[0].begin(), slice[0].end());
        player->waitForPendingWork();
    }
    EXPECT_GT(rms(played, 8192), 1e-3);

    screen->stopButton()->sendActions(UIControlEvents::touchUpInside);
    ASSERT_TRUE(pumpUntil([&] { return screen->stopButton()->isHidden(); }));
    screen->audioUnitManager()->cleanup();
    RunLoop::main().runPending();
}
