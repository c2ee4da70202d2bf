#pragma once

#include "AudioUnitLink.h"
#include "VelmoraFlowViewDelegate.h"
#include "ViewControllerLink.h"

#include <cmath>
#include <cstdint>
#include <ostream>
#include <vector>

// An audio unit whose band tables tell the modes apart (band n of mode m holds
// (m + 1) / 10 + n / 1000) and whose frequencies are the equal-tempered ones.
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

// A controller that remembers every change of its touch lock and whose
// magnitudes the test sets.
class FakeController : public ViewControllerLink {
public:
    AudioUnitLink* audioUnit() const override { return unit; }
    bool touchesLocked() const override { return locked; }
    void setTouchesLocked(bool value) override
    {
        locked = value;
        lockChanges.push_back(value);
    }
    std::vector<float> getMagnitudes() override { return magnitudes; }

    AudioUnitLink* unit = nullptr;
    bool locked = false;
    std::vector<bool> lockChanges;
    std::vector<float> magnitudes;
};

// One call the flow view made on its delegate.
struct Sent {
    enum class Kind { parameter, option };
    Kind kind;
    std::int64_t address;
    float value;

    static Sent parameter(std::int64_t address, float value) { return {Kind::parameter, address, value}; }
    static Sent option(std::int64_t address, float value) { return {Kind::option, address, value}; }
    bool operator==(const Sent&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Sent& sent)
{
    return out << (sent.kind == Sent::Kind::parameter ? "parameter(" : "option(") << sent.address << ", "
               << sent.value << ")";
}

class RecordingDelegate : public VelmoraFlowViewDelegate {
public:
    void onVelmoraFlowViewParameter(std::int64_t address, float value) override
    {
        sent.push_back(Sent::parameter(address, value));
    }
    void onVelmoraFlowViewOption(std::int64_t address, float value) override
    {
        sent.push_back(Sent::option(address, value));
    }

    std::vector<Sent> sent;
};
