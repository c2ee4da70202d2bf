#include "LoopSynthesizer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kAttackSeconds = 0.004;
constexpr double kReleaseSeconds = 0.008;
// Harmonics above this are left out, far below half the rate.
constexpr double kHighestPartial = 16000.0;

double frequencyOf(double note) { return 440.0 * std::exp2((note - 69.0) / 12.0); }

} // namespace

std::vector<std::vector<float>> LoopSynthesizer::render(const LoopRecipe& recipe)
{
    std::vector<std::vector<double>> mix(2, std::vector<double>(recipe.frames(), 0.0));
    for (const LoopNote& note : recipe.notes())
        addNote(note, recipe.waveform(), mix);
    double peak = 0.0;
    for (const auto& channel : mix)
        for (const double sample : channel)
            peak = std::max(peak, std::abs(sample));
    const double gain = peak > 0.0 ? kPeak / peak : 0.0;
    std::vector<std::vector<float>> channels(2, std::vector<float>(recipe.frames()));
    for (std::size_t channel = 0; channel < 2; ++channel)
        std::transform(mix[channel].begin(), mix[channel].end(), channels[channel].begin(),
                       [gain](double sample) { return static_cast<float>(sample * gain); });
    return channels;
}

void LoopSynthesizer::addNote(const LoopNote& note, LoopWaveform waveform, std::vector<std::vector<double>>& mix)
{
    const double angle = (note.pan + 1.0) * std::numbers::pi / 4.0;
    const double left = std::cos(angle) * note.level;
    const double right = std::sin(angle) * note.level;
    double phase = 0.0;
    for (std::size_t frame = 0; frame < note.length; ++frame) {
        const double progress = static_cast<double>(frame) / static_cast<double>(note.length);
        const double frequency = frequencyOf(note.note + note.glide * progress);
        const double value = waveformValue(waveform, phase, frequency) * envelope(frame, note.length);
        mix[0][note.start + frame] += value * left;
        mix[1][note.start + frame] += value * right;
        phase = std::fmod(phase + 2.0 * std::numbers::pi * frequency / LoopRecipe::kSampleRate,
                          2.0 * std::numbers::pi);
    }
}

double LoopSynthesizer::envelope(std::size_t frame, std::size_t length)
{
    const double time = static_cast<double>(frame) / LoopRecipe::kSampleRate;
    const double remaining = static_cast<double>(length - frame) / LoopRecipe::kSampleRate;
    const double duration = static_cast<double>(length) / LoopRecipe::kSampleRate;
    const double attack = std::min(1.0, time / kAttackSeconds);
    const double release = std::min(1.0, remaining / kReleaseSeconds);
    return attack * release * std::exp(-3.0 * time / duration);
}

// Sums of harmonics in the classic proportions of each shape.
double LoopSynthesizer::waveformValue(LoopWaveform waveform, double phase, double frequency)
{
    double value = 0.0;
    for (int harmonic = 1; harmonic <= 7 && harmonic * frequency < kHighestPartial; ++harmonic) {
        const double odd = harmonic % 2 == 1 ? 1.0 : 0.0;
        double amplitude = 0.0;
        switch (waveform) {
        case LoopWaveform::sine:
            amplitude = harmonic == 1 ? 1.0 : 0.0;
            break;
        case LoopWaveform::triangle:
            amplitude = odd * ((harmonic / 2) % 2 == 0 ? 1.0 : -1.0) / (harmonic * harmonic);
            break;
        case LoopWaveform::saw:
            amplitude = 1.0 / harmonic;
            break;
        case LoopWaveform::square:
            amplitude = odd / harmonic;
            break;
        }
        if (amplitude != 0.0)
            value += amplitude * std::sin(harmonic * phase);
    }
    return value;
}
