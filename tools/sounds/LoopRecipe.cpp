#include "LoopRecipe.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

constexpr std::array<int, 7> kMajor { 0, 2, 4, 5, 7, 9, 11 };
constexpr std::array<int, 7> kMinor { 0, 2, 3, 5, 7, 8, 10 };
// 120 to 180 beats a minute: each loop lasts 2.7 to 4 seconds.
constexpr std::array<std::size_t, 8> kBeatFrames { 24000, 22500, 21000, 20000, 19200, 18000, 16800, 16000 };
constexpr std::array<int, 3> kSecondChords { 3, 4, 5 };

} // namespace

LoopRecipe::LoopRecipe(int number)
    : number_(number)
{
    if (number < 1 || number > kLoops)
        throw std::out_of_range("There is no sound " + std::to_string(number) + "; they are numbered 1 to 80.");
    const int index = number - 1;
    pattern_ = static_cast<LoopPattern>(index % 5);
    waveform_ = static_cast<LoopWaveform>(index / 5 % 4);
    minor_ = index / 20 % 2 == 1;
    root_ = 45 + index * 7 % 24;
    beatFrames_ = kBeatFrames[static_cast<std::size_t>(index * 3 % 8)];
}

double LoopRecipe::degree(int degree) const
{
    const auto& scale = minor_ ? kMinor : kMajor;
    return root_ + 12 * (degree / 7) + scale[static_cast<std::size_t>(degree % 7)];
}

int LoopRecipe::chordDegree(std::size_t beat) const
{
    return beat < kBeats / 2 ? 0 : kSecondChords[static_cast<std::size_t>(number_ % 3)];
}

std::vector<LoopNote> LoopRecipe::notes() const
{
    std::vector<LoopNote> notes;
    switch (pattern_) {
    case LoopPattern::arpeggio:
        addArpeggio(notes, 4, 0);
        break;
    case LoopPattern::chords:
        addChords(notes);
        break;
    case LoopPattern::melody:
        addMelody(notes);
        break;
    case LoopPattern::sweep:
        addSweeps(notes);
        break;
    case LoopPattern::bassAndArpeggio:
        addBass(notes);
        addArpeggio(notes, 2, 1);
        break;
    }
    return notes;
}

// Chord tones up and down: root, third, fifth, octave, fifth, third.
void LoopRecipe::addArpeggio(std::vector<LoopNote>& notes, std::size_t stepsPerBeat, int octave) const
{
    constexpr std::array<int, 6> kTones { 0, 2, 4, 7, 4, 2 };
    const std::size_t step = beatFrames_ / stepsPerBeat;
    for (std::size_t index = 0; index < kBeats * stepsPerBeat; ++index) {
        const int tone = chordDegree(index / stepsPerBeat) + kTones[index % kTones.size()];
        notes.push_back({ index * step, step, degree(tone) + 12 * octave, 0.0, 0.6, index % 2 == 0 ? -0.4 : 0.4 });
    }
}

void LoopRecipe::addChords(std::vector<LoopNote>& notes) const
{
    for (std::size_t beat = 0; beat < kBeats; ++beat)
        for (int tone = 0; tone < 3; ++tone)
            notes.push_back({ beat * beatFrames_, beatFrames_ * 9 / 10, degree(chordDegree(beat) + 2 * tone), 0.0, 0.35,
                              0.5 * (tone - 1) });
}

// Eighth notes that walk the scale by a seeded sequence of small steps.
void LoopRecipe::addMelody(std::vector<LoopNote>& notes) const
{
    constexpr std::array<int, 4> kSteps { -2, -1, 1, 2 };
    std::uint32_t seed = static_cast<std::uint32_t>(number_) * 2654435761U;
    int position = 7;
    const std::size_t step = beatFrames_ / 2;
    for (std::size_t index = 0; index < kBeats * 2; ++index) {
        seed = seed * 1664525U + 1013904223U;
        position = std::clamp(position + kSteps[seed >> 30], 3, 13);
        notes.push_back({ index * step, step * 19 / 20, degree(position), 0.0, 0.6, index % 4 < 2 ? 0.25 : -0.25 });
    }
}

// A long gliding note each bar, an octave up then down, over a pulse on the root.
void LoopRecipe::addSweeps(std::vector<LoopNote>& notes) const
{
    const std::size_t bar = beatFrames_ * 4;
    notes.push_back({ 0, bar * 49 / 50, degree(0), 12.0, 0.5, -0.3 });
    notes.push_back({ bar, bar * 49 / 50, degree(7), -12.0, 0.5, 0.3 });
    for (std::size_t beat = 0; beat < kBeats; ++beat)
        notes.push_back({ beat * beatFrames_, beatFrames_ / 2, degree(chordDegree(beat)) - 12, 0.0, 0.3, 0.0 });
}

void LoopRecipe::addBass(std::vector<LoopNote>& notes) const
{
    for (std::size_t beat = 0; beat < kBeats; ++beat)
        notes.push_back({ beat * beatFrames_, beatFrames_ * 4 / 5, degree(chordDegree(beat)) - 12, 0.0, 0.7, 0.0 });
}
