#pragma once

#include "../support/TemporaryFolder.h"
#include "../support/WaveFile.h"

#include "AVAudioEngine.h"
#include "AVAudioFile.h"
#include "AVAudioPlayerNode.h"
#include "OfflineAudioOutput.h"

#include <memory>
#include <string>
#include <vector>

// An engine that renders on the test's thread, a player attached to it and a
// folder for the files it plays.
struct EngineRig {
    EngineRig()
    {
        engine.setOutputDevice(output);
        engine.attach(player);
    }

    AVAudioFile file(const std::string& name, const std::vector<std::vector<float>>& channels,
                     std::uint32_t sampleRate = 48000)
    {
        const auto path = folder.path() / name;
        writeWaveFile(path, channels, sampleRate);
        return AVAudioFile(URL::fileURL(path));
    }

    // One channel of `frames` rendered frames.
    std::vector<float> render(AUAudioFrameCount frames, std::size_t channel = 0)
    {
        return output->render(frames)[channel];
    }

    TemporaryFolder folder;
    std::shared_ptr<OfflineAudioOutput> output = std::make_shared<OfflineAudioOutput>();
    AVAudioEngine engine;
    std::shared_ptr<AVAudioPlayerNode> player = std::make_shared<AVAudioPlayerNode>();
};

inline std::vector<float> concatenated(std::vector<float> first, const std::vector<float>& second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}
