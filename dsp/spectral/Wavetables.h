#pragma once

// The constant single-cycle waveforms a Modulator can select: 4096 floats
// each, zero mean, peaks at +-1. Built on first use.
class Wavetables {
public:
    static constexpr int kLength = 4096;
    static constexpr int kFirstTimbre = 3;
    static constexpr int kLastTimbre = 64;

    static const float* table_sine();
    static const float* table_tri();
    static const float* table_saw();
    static const float* table_sqr();
    // table_03 .. table_64 by number; null for other numbers.
    static const float* timbre(int number);
};
