#pragma once

#include <cstddef>
#include <vector>

enum class LoopPattern { arpeggio, chords, melody, sweep, bassAndArpeggio };
enum class LoopWaveform { sine, triangle, saw, square };

// One note of a loop, in frames from the loop's start.
struct LoopNote {
    std::size_t start;
    std::size_t length;
    double note;  // MIDI note number of the start
    double glide; // semitones the pitch moves by over the note
    double level;
    double pan;   // -1 left to 1 right
};

// What the bundle's sound file `number` (1 to 80) plays: two bars of 4/4 in a
// key, with a pattern, a waveform and a tempo of its own, so that no two files
// are alike. Every note ends inside the loop, so it repeats without a seam.
class LoopRecipe {
public:
    static constexpr int kLoops = 80;
    static constexpr int kBeats = 8;
    static constexpr double kSampleRate = 48000.0;

    // Throws std::out_of_range for a number outside 1 to kLoops.
    explicit LoopRecipe(int number);

    int number() const { return number_; }
    int root() const { return root_; }
    bool isMinor() const { return minor_; }
    LoopPattern pattern() const { return pattern_; }
    LoopWaveform waveform() const { return waveform_; }
    std::size_t beatFrames() const { return beatFrames_; }
    std::size_t frames() const { return beatFrames_ * kBeats; }

    std::vector<LoopNote> notes() const;

private:
    // The note of a scale degree of the key (degrees past 6 climb octaves).
    double degree(int degree) const;
    // The chord of the first bar, then the second.
    int chordDegree(std::size_t beat) const;
    void addArpeggio(std::vector<LoopNote>& notes, std::size_t stepsPerBeat, int octave) const;
    void addChords(std::vector<LoopNote>& notes) const;
    void addMelody(std::vector<LoopNote>& notes) const;
    void addSweeps(std::vector<LoopNote>& notes) const;
    void addBass(std::vector<LoopNote>& notes) const;

    int number_;
    int root_;
    bool minor_;
    LoopPattern pattern_;
    LoopWaveform waveform_;
    std::size_t beatFrames_;
};
