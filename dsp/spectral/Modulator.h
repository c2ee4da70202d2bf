#pragma once

#include "NoiseOscillator.h"

#include <atomic>
#include <cstdint>

// A wavetable low-frequency oscillator with a 24-bit fixed-point phase and two
// selectable wavetables. Its class-wide tables (the 128 MIDI note frequencies,
// their ratios to middle C and a set of generated 4096-point shapes) are built
// when the first Modulator is made and stay for the life of the process.
class Modulator {
public:
    static constexpr int kNotes = 128;
    static constexpr int kShapeLength = 4096;

    Modulator();
    ~Modulator();
    Modulator(const Modulator&) = delete;
    Modulator& operator=(const Modulator&) = delete;

    void init();
    // Ignored for 0.
    void setSamplerate(float rate);
    void setMode(int mode);
    int getMode();
    // Phase in cycles; negative values give 0.
    void setPhase(float p);
    float getPhase();
    // Clamped to 0 .. samplerate - 1.
    void setFrequency(float f);
    float getFrequency();
    // Clamped to -1..1.
    void setGain(float gain);
    float getGain();
    // Clamped to 0..1.
    void setShape(float shape);
    float getShape();
    void setNumCycles(int cycles);
    int getNumCycles();
    void retrigger();
    // 0..64: the sine with table_tri, table_saw, table_sqr or table_03..64;
    // anything else: the generated waveSine for both.
    void setTable(int index);
    // Tables of `size` floats, a power of two from 1 to 2^24; other sizes or
    // missing tables are refused.
    void setTables(const float* t1, const float* t2, int size);

    // Frequency of each MIDI note (equal temperament, note 69 = 440 Hz).
    static float freqTable[kNotes];
    // freqTable[n] / freqTable[60].
    static float freqFactors[kNotes];
    static float waveSine[kShapeLength];
    static float waveSaw[kShapeLength];
    static float waveSineSquar[kShapeLength];
    static float waveSineQuad[kShapeLength];
    static float waveRampLinUp[kShapeLength];
    static float waveRampLinDown[kShapeLength];
    static float waveRampExponUp[kShapeLength];
    static float waveRampExponDown[kShapeLength];
    static float maxFrequency;
    static float wave100[kShapeLength];
    static float waveRampLogUp[kShapeLength];
    static float waveRampLogDown[kShapeLength];
    // Live Modulator objects.
    static std::atomic<int64_t> count;

    // Callback slots for the owner; the modulator itself never calls them.
    void (*onCycleEnd)(void* destination) = nullptr;
    void (*onSyncReceived)(void* destination) = nullptr;
    void* triggerDestination = nullptr;

protected:
    NoiseOscillator noise;
    bool isBidirectional = false;
    int32_t lMode = 9;
    float fSamplerate = 48000.0f;
    float fFrequency = 1.0f;
    float fGain = 1.0f;
    float fShape = 1.0f;
    float currentValue = 0.0f;
    float sicvt = 16777216.0f / 48000.0f;
    int64_t lobits = 12;
    int64_t phase = 0;
    int64_t currentIndex = 0;
    int32_t cycles = 0;
    int32_t numCycles = 0;
    const float* waveTable1 = nullptr;
    const float* waveTable2 = nullptr;

private:
    static void buildTables();
    static void buildNoteTables();
    static void buildShapes();
};
