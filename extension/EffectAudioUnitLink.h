#pragma once

#include "AudioUnitLink.h"

class AudioUnitViewController;

// The views' way to the effect's audio unit: whatever unit the controller
// holds when they ask.
class EffectAudioUnitLink final : public AudioUnitLink {
public:
    explicit EffectAudioUnitLink(const AudioUnitViewController& controller) : controller_(controller) {}

    // 128 zeros while the controller has no unit.
    NoteTable getBands(std::int64_t kind) const override;
    NoteTable getFrequencies() const override;

private:
    const AudioUnitViewController& controller_;
};
