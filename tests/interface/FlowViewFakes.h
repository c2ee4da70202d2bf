#pragma once

#include "AudioUnitLink.h"
#include "VelmoraFlowViewDelegate.h"
#include "ViewControllerLink.h"

#include <cmath>
#include <cstdint>
#include <ostream>
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

class FakeController : public ViewControllerLink {
public:
    AudioUnitLink* audioUnit() const override { return unit; }
    bool touchesLocked() const override { return locked; }
    void setTouchesLocked(bool value) override { lockChanges.push_back(locked = value); }

    AudioUnitLink* unit = nullptr;
    bool locked = false;
    std::vector<bool> lockChanges;
};

// One call the flow view made on its delegate.
struct Sent {
    bool option;
    std::int64_t address;
    float value;
    bool operator==(const Sent&) const = default;
};
inline Sent parameter(std::int64_t address, float value) { return {false, address, value}; }
inline Sent option(std::int64_t address, float value) { return {true, address, value}; }
inline std::ostream& operator<<(std::ostream& out, const Sent& sent)
{
    return out << (sent.option ? "option(" : "parameter(") << sent.address << ", " << sent.value << ")";
}

class RecordingDelegate : public VelmoraFlowViewDelegate {
public:
    void onVelmoraFlowViewParameter(std::int64_t address, float value) override
    {
        sent.push_back(parameter(address, value));
    }
    void onVelmoraFlowViewOption(std::int64_t address, float value) override { sent.push_back(option(address, value)); }

    std::vector<Sent> sent;
};
