#pragma once

#include "AVAudioNode.h"

// The engine's way out to its output device: what is connected to its one
// input is what the device plays. Its output format is the device's: the
// engine's standard stereo format.
class AVAudioOutputNode : public AVAudioNode {
public:
    AVAudioNodeBus numberOfInputs() const override { return 1; }

protected:
    void render(const AudioTimeStamp& timestamp, AUAudioFrameCount frames, AudioBufferList& output) override;
};
