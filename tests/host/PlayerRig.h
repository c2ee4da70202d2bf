#pragma once

#include "../support/GainAudioUnit.h"
#include "../support/TemporaryFolder.h"
#include "../support/WaveFile.h"

#include "AUEnginePlayer.h"
#include "AVAudioSession.h"
#include "Console.h"
#include "OfflineAudioOutput.h"
#include "RunLoop.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

// Keeps every delegate call as a line: "state 1", "file <path>", "loop 0".
class DelegateRecorder : public AUEnginePlayerDelegate {
public:
    void onPlayerStateChanged(bool playing) override { calls.push_back("state " + std::to_string(playing)); }
    void onFileSelect(const std::string& file) override { calls.push_back("file " + file); }
    void onLoop(std::int64_t count) override { calls.push_back("loop " + std::to_string(count)); }

    std::vector<std::string> calls;
};

// A player on an offline output whose bundle holds the sounds the test
// writes (lossless files under the bundle's names) and whose draws the test
// scripts.
class PlayerRig {
public:
    PlayerRig()
    {
        std::filesystem::create_directories(folder.path() / "Resources");
        player = std::make_shared<AUEnginePlayer>(*Bundle::withPath(folder.path()),
                                                  [this](std::int64_t lowest, std::int64_t highest) {
                                                      bounds.push_back({ lowest, highest });
                                                      const auto drawn = draws.front();
                                                      draws.pop_front();
                                                      return drawn;
                                                  });
        player->engine().setOutputDevice(output);
        player->setDelegate(delegate);
    }
    ~PlayerRig()
    {
        AVAudioSession::sharedInstance().failCategoryRequests(std::nullopt);
        AVAudioSession::sharedInstance().failActivationRequests(std::nullopt);
    }

    // Sound `number` of the bundle: a ramp on both channels.
    std::vector<float> addSound(int number, std::size_t frames)
    {
        const auto ramp = rampChannel(frames, 1e-5f * static_cast<float>(number));
        writeWaveFile(soundPath(number), { ramp, ramp });
        return ramp;
    }
    std::string soundPath(int number) const
    {
        return (folder.path() / "Resources" / (std::to_string(number) + ".m4a")).string();
    }

    // Lets everything the player has set going run: completions, the state
    // queue, MIDI drains, then what they posted to the main queue.
    void settle()
    {
        player->waitForPendingWork();
        RunLoop::main().runPending();
    }
    bool toggle()
    {
        const bool playing = player->toggle();
        settle();
        return playing;
    }
    // Renders in engine-sized slices, settling after each, like a device that
    // waits for the player between its cycles.
    std::vector<float> play(std::size_t frames)
    {
        std::vector<float> played;
        while (played.size() < frames) {
            const auto count = std::min<std::size_t>(512, frames - played.size());
            const auto slice = output->render(static_cast<AUAudioFrameCount>(count));
            played.insert(played.end(), slice[0].begin(), slice[0].end());
            settle();
        }
        return played;
    }
    // The lines printed by `work` and by what it set going.
    template <typename Work> std::vector<std::string> linesOf(Work&& work)
    {
        Console::Capture capture;
        work();
        settle();
        return capture.lines();
    }

    std::shared_ptr<AVAudioUnit> gainUnit(std::vector<std::string> midiOutputNames = {}) const
    {
        return std::make_shared<AVAudioUnit>(std::make_shared<GainAudioUnit>(std::move(midiOutputNames)));
    }

    TemporaryFolder folder;
    std::deque<std::int64_t> draws;
    std::vector<std::pair<std::int64_t, std::int64_t>> bounds;
    std::shared_ptr<OfflineAudioOutput> output = std::make_shared<OfflineAudioOutput>();
    std::shared_ptr<DelegateRecorder> delegate = std::make_shared<DelegateRecorder>();
    std::shared_ptr<AUEnginePlayer> player;
};
