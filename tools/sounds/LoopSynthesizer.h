#pragma once

#include <vector>

#include "LoopRecipe.h"

// Renders a loop recipe to stereo samples at the recipe's rate. Every note is
// a band-limited waveform (a few harmonics) under an envelope that rises in
// 4 ms, decays, and is back at zero when the note ends. The loop is scaled so
// that its loudest sample is kPeak.
class LoopSynthesizer {
public:
    static constexpr double kPeak = 0.5;

    // Two channels of recipe.frames() samples.
    static std::vector<std::vector<float>> render(const LoopRecipe& recipe);

private:
    static void addNote(const LoopNote& note, LoopWaveform waveform, std::vector<std::vector<double>>& mix);
    static double envelope(std::size_t frame, std::size_t length);
    static double waveformValue(LoopWaveform waveform, double phase, double frequency);
};
