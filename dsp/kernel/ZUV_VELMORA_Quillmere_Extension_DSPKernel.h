#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

#include "Analyzer.h"
#include "AudioBufferList.h"
#include "ChromaticPitch.h"
#include "Compander.h"
#include "DSPKernel.h"
#include "Latency.h"
#include "Modulator.h"
#include "ParameterRanges.h"

// The effect kernel: every setting, the five band tables, the two spectral
// processors, the analysers, the compander and the dry delay, and the chain that
// renders each segment of a cycle.
//
// Settings and band tables are written by the interface thread and by render
// events while the render thread reads them, so every access to them is atomic
// (relaxed); the band tables handed out by getBands() must be read the same way.
class ZUV_VELMORA_Quillmere_Extension_DSPKernel : public DSPKernel {
public:
    static constexpr int kBands = 128;
    static constexpr int kWorkFrames = 4096;

    ZUV_VELMORA_Quillmere_Extension_DSPKernel();

    // Not while rendering.
    void init(std::uint32_t channels, double sampleRate);
    void setSamplerate(float rate);
    // Not while rendering either; while it may run, requestReset().
    void reset() override;
    // Which arc tangent, sine and cosine the spectral frames use. Not while rendering.
    void setMathPath(VELMORA::BinMath::Path path);

    void setParameter(AUParameterAddress address, AUValue value);
    AUValue getParameter(AUParameterAddress address) const;
    // A render event's value, held to the automation range of its address.
    void setParameterAutomated(AUParameterAddress address, AUValue value, AUEventSampleTime time) override;
    // Holds render events for the address to the range; not while rendering.
    void setAutomationRange(AUParameterAddress address, AUValue minValue, AUValue maxValue);

    void setRange(std::int32_t left, std::int32_t right);
    void setBand(std::int32_t index, float value);
    void setBands();
    // The live table of a processing mode; 128 zeros for any other kind.
    float* getBands(std::int32_t kind);

    bool getBypassed() const;
    void setBypassed(bool bypassed);
    // Never above the work buffers: a larger request is lowered to kWorkFrames.
    std::int32_t getMaximumFramesToRender() const;
    void setMaximumFramesToRender(std::int32_t frames);
    void setBuffers(AudioBufferList* in, AudioBufferList* out);
    // Off after construction: incoming MIDI is then ignored.
    void setMIDIThru(bool on);

    const float* getFrequencies() const;
    // 128 magnitudes indexed by MIDI note, from the output analyser.
    const float* getMagnitudes();
    float getPeakInput() const;
    float getPeakOutput() const;
    std::int32_t getAnalysisSize();
    float getChromaticFrequency(std::int32_t note);
    float* getBinFrequencies();

protected:
    void process(AUAudioFrameCount frameCount, AUAudioFrameCount bufferOffset) override;
    void handleMIDIEvent(const AUMIDIEvent& event) override;

private:
    struct NoteRange {
        std::int32_t left;
        std::int32_t right;
    };

    void setOperationMode(AUValue value);
    void setBandParameter(AUParameterAddress address, AUValue value);
    void subProcess(std::int32_t frameCount);
    void copyInputToOutput(AUAudioFrameCount frameCount, AUAudioFrameCount offset);
    void codeMidSide(std::int32_t frameCount);
    void mixWithDry(float* left, float* right, std::int32_t frameCount);
    float* bandTable(AUParameterAddress address);
    const float* bandTable(AUParameterAddress address) const;
    // The tables processors 0 and 1 take in processing mode p; false outside 0..4.
    bool tablesFor(std::int32_t p, const float*& first, const float*& second) const;
    std::optional<NoteRange> currentLimit() const;
    void pushBand(std::int32_t index, const float* first, const float* second, const std::optional<NoteRange>& limit);
    void pushBands(const std::optional<NoteRange>& limit);

    static NoteRange normalisedRange(std::int32_t left, std::int32_t right);
    static float load(const float& cell);
    static void store(float& cell, float value);

    float fSamplerate = 48000.0f;
    std::int32_t numChannels = 2;
    AudioBufferList* inBufferListPtr = nullptr;
    AudioBufferList* outBufferListPtr = nullptr;
    float monoBuffer[kWorkFrames] = {};
    float leftBuffer[kWorkFrames] = {};
    float rightBuffer[kWorkFrames] = {};
    float midBuffer[kWorkFrames] = {};
    float sideBuffer[kWorkFrames] = {};
    VELMORA::Analyzer analyzer;
    VELMORA::Analyzer analyzer2;
    VELMORA::ChromaticPitch filter[2];
    Latency latency[2];
    Modulator dummy;
    Compander compander;
    ParameterRanges automationRanges;
    std::atomic<float> fBypass{0.0f};
    std::atomic<float> fVolumeIn{1.0f};
    std::atomic<float> fVolumeOut{1.0f};
    std::atomic<float> fOperationMode{0.0f};
    std::atomic<float> fProcessingMode{0.0f};
    std::atomic<float> fRangeLeft{0.0f};
    std::atomic<float> fRangeRight{127.0f};
    std::atomic<float> fMix{0.0f};
    float empty[kBands] = {};
    float fStereo[kBands];
    float fLeft[kBands];
    float fRight[kBands];
    float fMid[kBands];
    float fSide[kBands];
    std::atomic<std::int32_t> maxFrames{kWorkFrames};
    std::atomic<bool> midiThru{false};
};
