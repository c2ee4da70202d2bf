#pragma once

#include "AudioUnitLink.h"
#include "ViewControllerLink.h"

#include <cmath>
#include <cstdint>
#include <vector>

// Band n of mode m holds (m + 1) / 10 + n / 1000, so the modes' tables differ;
// the frequencies are the equal-tempered ones.
class FakeAudioUnit : public AudioUnitLink {
public:
    FakeAudioUnit()
    {
        for (int note = 0; note < 128; ++note) {
            frequencies[note] = static_cast<float>(440.0 * std::pow(2.0, (note - 69) / 12.0));
            for (int mode = 0; mode < 5; ++mode) {
                bands[mode][note] = static_cast<float>((mode + 1) / 10.0 + note / 1000.0);
            }
        }
    }
    NoteTable getBands(std::int64_t kind) const override
    {
        bandReads.push_back(kind);
        return bands.at(static_cast<std::size_t>(kind));
    }
    NoteTable getFrequencies() const override { return frequencies; }

    std::array<NoteTable, 5> bands{};
    NoteTable frequencies{};
    mutable std::vector<std::int64_t> bandReads;
};

// A controller whose audio unit and magnitudes the test sets and that
// remembers every change of its touch lock.
class FakeViewController : public ViewControllerLink {
public:
    AudioUnitLink* audioUnit() const override { return unit; }
    bool touchesLocked() const override { return locked; }
    void setTouchesLocked(bool value) override { lockChanges.push_back(locked = value); }
    std::vector<float> getMagnitudes() override { return magnitudes; }

    AudioUnitLink* unit = nullptr;
    bool locked = false;
    std::vector<bool> lockChanges;
    std::vector<float> magnitudes;
};
