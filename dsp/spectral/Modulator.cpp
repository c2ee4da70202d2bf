#include "Modulator.h"

#include "Wavetables.h"

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kStep = 0.00024414063f;  // 1 / 4096
constexpr double kCycle = 16777216.0;    // 2^24: one cycle of the phase
constexpr int kLastShape = Modulator::kShapeLength - 1;
constexpr int kMiddleC = 60;
constexpr int kDefaultTable = 65;

} // namespace

float Modulator::freqTable[kNotes];
float Modulator::freqFactors[kNotes];
float Modulator::waveSine[kShapeLength];
float Modulator::waveSaw[kShapeLength];
float Modulator::waveSineSquar[kShapeLength];
float Modulator::waveSineQuad[kShapeLength];
float Modulator::waveRampLinUp[kShapeLength];
float Modulator::waveRampLinDown[kShapeLength];
float Modulator::waveRampExponUp[kShapeLength];
float Modulator::waveRampExponDown[kShapeLength];
float Modulator::maxFrequency;
float Modulator::wave100[kShapeLength];
float Modulator::waveRampLogUp[kShapeLength];
float Modulator::waveRampLogDown[kShapeLength];
std::atomic<int64_t> Modulator::count{0};

Modulator::Modulator() {
    setSamplerate(48000.0f);
    init();
}

Modulator::~Modulator() {
    count.fetch_sub(1, std::memory_order_relaxed);
}

// The tables are built once, by whichever thread makes the first Modulator;
// a later first Modulator would only write the same values again.
void Modulator::init() {
    static std::once_flag built;
    count.fetch_add(1, std::memory_order_relaxed);
    std::call_once(built, buildTables);
    lobits = 12;
    setMode(1);
    setPhase(0.0f);
    setFrequency(1.0f);
    setGain(0.5f);
    retrigger();
    setTable(kDefaultTable);
}

void Modulator::buildTables() {
    buildNoteTables();
    buildShapes();
}

void Modulator::buildNoteTables() {
    const double ratio = 1.059463094359;
    double x = 6.875 * ratio * ratio * ratio;
    for (float& frequency : freqTable) {
        frequency = static_cast<float>(x);
        x *= ratio;
    }
    for (int n = 0; n < kNotes; ++n) {
        freqFactors[n] = freqTable[n] / freqTable[kMiddleC];
    }
}

void Modulator::buildShapes() {
    for (int i = 0; i < kShapeLength; ++i) {
        const float x = static_cast<float>(i) * kStep;
        const float s = std::sin(kTwoPi * x);
        const float root = std::sqrt(std::sqrt(std::sqrt(std::fabs(s))));
        waveSine[i] = (s + 1.0f) * 0.5f;
        waveSaw[i] = 1.0f - x;
        waveSineSquar[i] = (i < kShapeLength / 2 ? root + 1.0f : -root + 1.0f) * 0.5f;
        waveSineQuad[i] = (s * s * s + 1.0f) * 0.5f;
        waveRampLinUp[i] = x;
        waveRampLinDown[i] = 1.0f - x;
        waveRampExponUp[i] = x * x * x;
    }
    maxFrequency = 440.0f * 32.0f;
    for (int i = 0; i < kShapeLength; ++i) {
        const float x = static_cast<float>(i) * kStep;
        waveRampExponDown[i] = waveRampExponUp[kLastShape - i];
        wave100[i] = 440.0f * std::pow(2.0f, 10.0f * x - 5.0f);
        waveRampLogUp[i] = wave100[i] / maxFrequency * x;
    }
    for (int i = 0; i < kShapeLength; ++i) {
        waveRampLogDown[i] = waveRampLogUp[kLastShape - i];
    }
}

void Modulator::setSamplerate(float rate) {
    if (rate == 0.0f) {
        return;
    }
    fSamplerate = rate;
    sicvt = static_cast<float>(kCycle) / rate;
}

void Modulator::setMode(int mode) { lMode = mode; }
int Modulator::getMode() { return lMode; }

void Modulator::setPhase(float p) {
    // Whole cycles beyond the 64-bit range make no difference to an oscillator.
    const double cycles = std::fmod(static_cast<double>(p), 1.0e9);
    phase = p >= 0.0f && std::isfinite(p) ? static_cast<int64_t>(cycles * kCycle) : 0;
}

float Modulator::getPhase() {
    return static_cast<float>(static_cast<double>(phase) / kCycle);
}

void Modulator::setFrequency(float f) {
    fFrequency = f;
    if (f < 0.0f) {
        fFrequency = 0.0f;
    }
    if (f >= fSamplerate) {
        fFrequency = fSamplerate - 1.0f;
    }
}

float Modulator::getFrequency() { return fFrequency; }

void Modulator::setGain(float gain) { fGain = std::clamp(gain, -1.0f, 1.0f); }
float Modulator::getGain() { return fGain; }

void Modulator::setShape(float shape) { fShape = std::clamp(shape, 0.0f, 1.0f); }
float Modulator::getShape() { return fShape; }

void Modulator::setNumCycles(int cyclesLimit) { numCycles = cyclesLimit; }
int Modulator::getNumCycles() { return numCycles; }

void Modulator::retrigger() {
    phase = 0;
    currentIndex = 0;
    cycles = 0;
    currentValue = 0.0f;
}

void Modulator::setTable(int index) {
    if (index < 0 || index > Wavetables::kLastTimbre) {
        setTables(waveSine, waveSine, kShapeLength);
        return;
    }
    const float* second = index == 0   ? Wavetables::table_tri()
                          : index == 1 ? Wavetables::table_saw()
                          : index == 2 ? Wavetables::table_sqr()
                                       : Wavetables::timbre(index);
    setTables(Wavetables::table_sine(), second, Wavetables::kLength);
}

void Modulator::setTables(const float* t1, const float* t2, int size) {
    if (t1 == nullptr || t2 == nullptr || size < 1 || size > (1 << 24) || (size & (size - 1)) != 0) {
        return;
    }
    waveTable1 = t1;
    waveTable2 = t2;
    int64_t doublings = 0;
    for (int64_t span = size; span < (1 << 24); span <<= 1) {
        ++doublings;
    }
    lobits = doublings;
}
