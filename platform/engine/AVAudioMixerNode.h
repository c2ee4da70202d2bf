#pragma once

#include "AVAudioNode.h"

// Sums every node connected to its inputs; each input's channels are mapped
// onto the output's (a mono input plays on every channel).
class AVAudioMixerNode : public AVAudioNode {
public:
    static constexpr AVAudioNodeBus kInputBusses = 64;

    AVAudioNodeBus numberOfInputs() const override { return kInputBusses; }

protected:
    void render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output) override;
};
