#pragma once

#include "CPointerList.h"
#include "Tone.h"
#include "TripleBuffer.h"

#include <atomic>
#include <cstdint>
#include <memory>

// The chromatic tone table: 140 equal-tempered tones (A4 = 440 Hz) for the
// MIDI notes -3..136, tone i being note i - 3, and the magnitude each MIDI
// note received, summed per analysis.
//
// Summing (chromaticScaleSums) runs on the render thread, reading
// (getChromatic) on one other thread. Each finished pass is published through a triple
// buffer; the reader normalises its own copy and asks through an atomic flag
// that passes start from zero from then on. So until the first read the passes
// accumulate and that read averages them; afterwards a read gives the latest
// pass.
class Scala {
public:
    static constexpr int kTones = 140;
    static constexpr int kFirstNote = -3;

    Scala();
    // Hands the tones' nodes back before the node stock goes.
    ~Scala();
    Scala(const Scala&) = delete;
    Scala& operator=(const Scala&) = delete;

    // Forgets the bin records of every tone.
    void clear();
    // Makes room for the records of `bins` bins per walk, so that walking
    // never allocates. Not on the render thread. False when memory is short.
    bool reserve(int32_t bins);
    // Places every bin 0..bins-1 in one tone, in one merged pass over rising
    // bins and tones, and writes the tone of bin k to toneOfBin[k] (when given).
    // Nothing happens when a buffer is missing.
    void assignBins(const float* magnitudes, const float* frequencies, const float* phases,
                    int32_t bins, int32_t* toneOfBin);
    // The same walk, only writing the tone of bin k to toneOfBin[k]; the
    // tones keep what they hold. Nothing happens when a buffer is missing.
    void findTones(const float* frequencies, int32_t bins, int32_t* toneOfBin);
    // Adds each note's magnitude sum of the last walk, for the notes
    // from..to-1 (render thread).
    void chromaticScaleSums(int from, int to);
    // The note sums of [from, to) averaged over the passes and, when normalise
    // is set and the largest exceeds 1, divided by the largest; entries outside
    // the range hold the raw sums. Zeros before the first pass.
    float* getChromatic(int from, int to, bool normalise);
    // Centre frequency of a MIDI note's tone; 1.0 for notes without a tone.
    float getFrequency(int note);

    Tone tones[kTones];

private:
    struct Pass {
        float sums[kTones];
        int32_t count;
    };

    void buildTones();
    int32_t toneOf(float frequency, int32_t& walk);
    void place(int32_t bin, int32_t tone, float magnitude, float frequency, float phase);

    DUD::CPointerList::ItemPool nodes;
    std::unique_ptr<BinRecord[]> records;
    int32_t recordCount = 0;
    // Each tone's magnitude sum, added up in the walk's (and the list's) order.
    float toneSums[kTones] = {};

    float chromatic[kTones] = {};
    std::atomic<bool> clearChromatic{false};
    Pass pending{};
    VELMORA::TripleBuffer<Pass> passes;
};
