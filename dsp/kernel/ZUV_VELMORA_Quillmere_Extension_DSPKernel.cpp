#include "ZUV_VELMORA_Quillmere_Extension_DSPKernel.h"

#include "ParameterAddress.h"
#include "UsableSample.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr int kFftSize = 4096;
constexpr int kAnalysisOverlap = 2;
constexpr int kProcessorOverlap = 4;
constexpr float kDefaultSamplerate = 48000.0f;
constexpr float kNeutralBand = 0.5f;
constexpr int kLastNote = 127;

// Operation modes in which the note range limits the processing.
bool rangeLimits(std::int32_t operationMode)
{
    return operationMode == 1 || operationMode == 2;
}

bool isOperationMode(std::int32_t mode)
{
    return mode >= 0 && mode <= 3;
}

// Truncation toward zero; NaN and values beyond the int range give INT_MIN,
// which no mode or note accepts.
std::int32_t whole(float value)
{
    constexpr float limit = 2147483648.0f;
    if (!(value > -limit && value < limit))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}

float* channel(AudioBufferList* list, std::uint32_t index)
{
    if (list == nullptr || index >= list->mNumberBuffers || index >= AudioBufferList::kMaxBuffers)
        return nullptr;
    return static_cast<float*>(list->mBuffers[index].mData);
}

} // namespace

ZUV_VELMORA_Quillmere_Extension_DSPKernel::ZUV_VELMORA_Quillmere_Extension_DSPKernel()
    : analyzer(kFftSize, kAnalysisOverlap, kDefaultSamplerate)
    , analyzer2(kFftSize, kAnalysisOverlap, kDefaultSamplerate)
    , filter{VELMORA::ChromaticPitch(kFftSize, kProcessorOverlap, kDefaultSamplerate),
             VELMORA::ChromaticPitch(kFftSize, kProcessorOverlap, kDefaultSamplerate)}
{
    analyzer.setChromatic(true);
    analyzer2.setChromatic(true);
    // Nothing reads the processors' display values (normalised magnitudes,
    // peaks, note sums): their analyses only find the tone of each bin.
    for (VELMORA::ChromaticPitch& processor : filter) {
        processor.setSize(kFftSize);
        processor.setDisplayValues(false);
    }
    for (Latency& line : latency) {
        line.ensure(kFftSize);
        line.setSize(kFftSize);
    }
    for (float* table : {fStereo, fLeft, fRight, fMid, fSide})
        std::fill(table, table + kBands, kNeutralBand);
}

float ZUV_VELMORA_Quillmere_Extension_DSPKernel::load(const float& cell)
{
    return std::atomic_ref<float>(const_cast<float&>(cell)).load(std::memory_order_relaxed);
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::store(float& cell, float value)
{
    std::atomic_ref<float>(cell).store(value, std::memory_order_relaxed);
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::init(std::uint32_t channels, double sampleRate)
{
    setSamplerate(static_cast<float>(sampleRate));
    numChannels = static_cast<std::int32_t>(std::min<std::uint32_t>(channels, AudioBufferList::kMaxBuffers));
    reset();
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setSamplerate(float rate)
{
    fSamplerate = rate;
    analyzer.setSamplerate(rate);
    analyzer2.setSamplerate(rate);
    filter[0].setSamplerate(rate);
    filter[1].setSamplerate(rate);
    compander.setSamplerate(rate);
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::reset()
{
    for (float* buffer : {monoBuffer, leftBuffer, rightBuffer, midBuffer, sideBuffer})
        std::fill(buffer, buffer + kWorkFrames, 0.0f);
    analyzer.reset();
    analyzer2.reset();
    filter[0].reset();
    filter[1].reset();
    latency[0].reset();
    latency[1].reset();
    compander.reset();
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setMathPath(VELMORA::BinMath::Path path)
{
    analyzer.setMathPath(path);
    analyzer2.setMathPath(path);
    filter[0].setMathPath(path);
    filter[1].setMathPath(path);
}

// Parameters

float* ZUV_VELMORA_Quillmere_Extension_DSPKernel::bandTable(AUParameterAddress address)
{
    return const_cast<float*>(std::as_const(*this).bandTable(address));
}

const float* ZUV_VELMORA_Quillmere_Extension_DSPKernel::bandTable(AUParameterAddress address) const
{
    if (address < kFirstBandAddress || address >= kBandAddressEnd)
        return nullptr;
    const float* tables[] = {fStereo, fLeft, fRight, fMid, fSide};
    return tables[address / kBandBlockSize - 1];
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setParameter(AUParameterAddress address, AUValue value)
{
    // A value that is not a number or infinite, from a host's automation or a
    // stray event, would leave the output NaN for as long as it stood.
    if (!std::isfinite(value))
        return;
    const std::optional<ParameterAddress> global = parameterAddressFromRaw(address);
    if (!global) {
        setBandParameter(address, value);
        return;
    }
    switch (*global) {
    case ParameterAddress::kBypass: fBypass.store(value != 0.0f ? 1.0f : 0.0f, std::memory_order_relaxed); return;
    case ParameterAddress::kVolumeIn: fVolumeIn.store(value, std::memory_order_relaxed); return;
    case ParameterAddress::kVolumeOut: fVolumeOut.store(value, std::memory_order_relaxed); return;
    case ParameterAddress::kMix: fMix.store(value, std::memory_order_relaxed); return;
    case ParameterAddress::kProcessingMode: fProcessingMode.store(value, std::memory_order_relaxed); break;
    case ParameterAddress::kRangeLeft: fRangeLeft.store(value, std::memory_order_relaxed); break;
    case ParameterAddress::kRangeRight: fRangeRight.store(value, std::memory_order_relaxed); break;
    case ParameterAddress::kOperationMode: setOperationMode(value); break;
    case ParameterAddress::kLimiterAttack:
    case ParameterAddress::kLimiterDecay:
    case ParameterAddress::kLimiterRelease:
    case ParameterAddress::kCompanderMultiplier: return; // not bound to the compander
    }
    setRange(whole(fRangeLeft.load(std::memory_order_relaxed)), whole(fRangeRight.load(std::memory_order_relaxed)));
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setOperationMode(AUValue value)
{
    fOperationMode.store(value, std::memory_order_relaxed);
    const std::int32_t mode = whole(value);
    if (isOperationMode(mode)) {
        filter[0].setMode(mode);
        filter[1].setMode(mode);
    }
}

// Addresses 1128..1999 of each block all reach note 127.
void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setBandParameter(AUParameterAddress address, AUValue value)
{
    float* table = bandTable(address);
    if (table == nullptr)
        return;
    const auto index = static_cast<std::int32_t>(std::min<AUParameterAddress>(address % kBandBlockSize, kLastNote));
    store(table[index], value);
    setBand(index, value);
}

AUValue ZUV_VELMORA_Quillmere_Extension_DSPKernel::getParameter(AUParameterAddress address) const
{
    const std::optional<ParameterAddress> global = parameterAddressFromRaw(address);
    if (!global) {
        const float* table = bandTable(address);
        return table != nullptr ? load(table[std::min<AUParameterAddress>(address % kBandBlockSize, kLastNote)]) : 0.0f;
    }
    switch (*global) {
    case ParameterAddress::kBypass: return fBypass.load(std::memory_order_relaxed);
    case ParameterAddress::kVolumeIn: return fVolumeIn.load(std::memory_order_relaxed);
    case ParameterAddress::kVolumeOut: return fVolumeOut.load(std::memory_order_relaxed);
    case ParameterAddress::kProcessingMode: return fProcessingMode.load(std::memory_order_relaxed);
    case ParameterAddress::kOperationMode: return fOperationMode.load(std::memory_order_relaxed);
    case ParameterAddress::kRangeLeft: return fRangeLeft.load(std::memory_order_relaxed);
    case ParameterAddress::kRangeRight: return fRangeRight.load(std::memory_order_relaxed);
    case ParameterAddress::kMix: return fMix.load(std::memory_order_relaxed);
    default: return 0.0f;
    }
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setParameterAutomated(AUParameterAddress address, AUValue value,
                                                                      AUEventSampleTime)
{
    if (const auto held = automationRanges.held(address, value))
        setParameter(address, *held);
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setAutomationRange(AUParameterAddress address, AUValue minValue,
                                                                   AUValue maxValue)
{
    automationRanges.set(address, minValue, maxValue);
}

// Band tables and note range

bool ZUV_VELMORA_Quillmere_Extension_DSPKernel::tablesFor(std::int32_t p, const float*& first,
                                                          const float*& second) const
{
    switch (p) {
    case 0: first = fStereo; second = fStereo; return true;
    case 1:
    case 2: first = fLeft; second = fRight; return true;
    case 3:
    case 4: first = fMid; second = fSide; return true;
    default: return false;
    }
}

// A negative right end becomes 0 (and a left end above it makes the pair 127..0);
// a right end below the left one becomes 127; a right end above 127 stays.
ZUV_VELMORA_Quillmere_Extension_DSPKernel::NoteRange
ZUV_VELMORA_Quillmere_Extension_DSPKernel::normalisedRange(std::int32_t left, std::int32_t right)
{
    left = std::clamp(left, 0, kLastNote);
    if (right < 0) {
        right = 0;
        if (left > right)
            return {kLastNote, 0};
    } else if (right < left) {
        right = kLastNote;
    }
    return {left, right};
}

// The range that limits the processors now, or none in the operation modes
// that the range does not limit.
std::optional<ZUV_VELMORA_Quillmere_Extension_DSPKernel::NoteRange>
ZUV_VELMORA_Quillmere_Extension_DSPKernel::currentLimit() const
{
    if (!rangeLimits(whole(fOperationMode.load(std::memory_order_relaxed))))
        return std::nullopt;
    return normalisedRange(whole(fRangeLeft.load(std::memory_order_relaxed)),
                           whole(fRangeRight.load(std::memory_order_relaxed)));
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::pushBand(std::int32_t index, const float* first, const float* second,
                                                         const std::optional<NoteRange>& limit)
{
    const bool muted = limit && (index < limit->left || index > limit->right);
    filter[0].setChromaticFilterBand(index, muted ? 0.0f : load(first[index]));
    filter[1].setChromaticFilterBand(index, muted ? 0.0f : load(second[index]));
}

// Pushes the current mode's table entries of one note; the value argument is
// not used. In the modes the note range limits, a note outside it stays silent.
void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setBand(std::int32_t index, float)
{
    const float* first = nullptr;
    const float* second = nullptr;
    if (index < 0 || index > kLastNote || !tablesFor(whole(fProcessingMode.load(std::memory_order_relaxed)), first, second))
        return;
    pushBand(index, first, second, currentLimit());
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setBands()
{
    pushBands(currentLimit());
}

// Notes outside the limit are pushed as silent in the same pass, so that a frame
// running meanwhile never hears them open.
void ZUV_VELMORA_Quillmere_Extension_DSPKernel::pushBands(const std::optional<NoteRange>& limit)
{
    const float* first = nullptr;
    const float* second = nullptr;
    if (!tablesFor(whole(fProcessingMode.load(std::memory_order_relaxed)), first, second))
        return;
    for (std::int32_t note = 0; note < kBands; ++note)
        pushBand(note, first, second, limit);
    filter[0].setOutsideRange(1.0f);
    filter[1].setOutsideRange(1.0f);
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setRange(std::int32_t left, std::int32_t right)
{
    const std::int32_t mode = whole(fOperationMode.load(std::memory_order_relaxed));
    if (!isOperationMode(mode))
        return;
    const NoteRange applied = rangeLimits(mode) ? normalisedRange(left, right) : NoteRange{0, kLastNote};
    for (VELMORA::ChromaticPitch& processor : filter)
        processor.setInverted(false);
    pushBands(applied);
    for (VELMORA::ChromaticPitch& processor : filter)
        processor.setChromaticFilterRange(applied.left, applied.right, 1.0f);
}

float* ZUV_VELMORA_Quillmere_Extension_DSPKernel::getBands(std::int32_t kind)
{
    float* tables[] = {fStereo, fLeft, fRight, fMid, fSide};
    return kind >= 0 && kind < 5 ? tables[kind] : empty;
}
// Settings and accessors

bool ZUV_VELMORA_Quillmere_Extension_DSPKernel::getBypassed() const
{
    return fBypass.load(std::memory_order_relaxed) != 0.0f;
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setBypassed(bool bypassed)
{
    fBypass.store(bypassed ? 1.0f : 0.0f, std::memory_order_relaxed);
}

std::int32_t ZUV_VELMORA_Quillmere_Extension_DSPKernel::getMaximumFramesToRender() const
{
    return maxFrames.load(std::memory_order_relaxed);
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setMaximumFramesToRender(std::int32_t frames)
{
    maxFrames.store(std::clamp(frames, 0, kWorkFrames), std::memory_order_relaxed);
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setBuffers(AudioBufferList* in, AudioBufferList* out)
{
    inBufferListPtr = in;
    outBufferListPtr = out;
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::setMIDIThru(bool on)
{
    midiThru.store(on, std::memory_order_relaxed);
}

const float* ZUV_VELMORA_Quillmere_Extension_DSPKernel::getFrequencies() const
{
    return Modulator::freqTable;
}

const float* ZUV_VELMORA_Quillmere_Extension_DSPKernel::getMagnitudes()
{
    return analyzer2.scala.getChromatic(0, 137, true);
}

float ZUV_VELMORA_Quillmere_Extension_DSPKernel::getPeakInput() const
{
    return compander.getInputFollower().getPeak();
}

float ZUV_VELMORA_Quillmere_Extension_DSPKernel::getPeakOutput() const
{
    return compander.getOutputFollower().getPeak();
}

std::int32_t ZUV_VELMORA_Quillmere_Extension_DSPKernel::getAnalysisSize()
{
    return analyzer.getSize();
}

float ZUV_VELMORA_Quillmere_Extension_DSPKernel::getChromaticFrequency(std::int32_t note)
{
    return analyzer.scala.getFrequency(note);
}

float* ZUV_VELMORA_Quillmere_Extension_DSPKernel::getBinFrequencies()
{
    return analyzer.getFrequencies();
}

// Signal chain

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::copyInputToOutput(AUAudioFrameCount frameCount,
                                                                  AUAudioFrameCount offset)
{
    for (std::int32_t c = 0; c < numChannels; ++c) {
        const float* in = channel(inBufferListPtr, static_cast<std::uint32_t>(c));
        float* out = channel(outBufferListPtr, static_cast<std::uint32_t>(c));
        if (in != nullptr && out != nullptr && in != out)
            std::copy(in + offset, in + offset + frameCount, out + offset);
    }
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::process(AUAudioFrameCount frameCount, AUAudioFrameCount bufferOffset)
{
    copyInputToOutput(frameCount, bufferOffset);
    float* left = channel(outBufferListPtr, 0);
    float* right = channel(outBufferListPtr, 1);
    if (getBypassed() || numChannels != 2 || left == nullptr || right == nullptr)
        return;
    left += bufferOffset;
    right += bufferOffset;
    // The adapter never hands over more frames than the work buffers hold.
    const auto n = static_cast<std::int32_t>(std::min<AUAudioFrameCount>(frameCount, kWorkFrames));

    const float volumeIn = fVolumeIn.load(std::memory_order_relaxed);
    for (std::int32_t i = 0; i < n; ++i) {
        leftBuffer[i] = left[i] * volumeIn;
        rightBuffer[i] = right[i] * volumeIn;
    }
    if (isOperationMode(whole(fOperationMode.load(std::memory_order_relaxed))))
        subProcess(n);
    compander.processBuffers(leftBuffer, rightBuffer, n);

    // Twice the wet right channel, as the display has always been fed.
    for (std::int32_t i = 0; i < n; ++i)
        monoBuffer[i] = (leftBuffer[i] + rightBuffer[i]) + (-(leftBuffer[i] - rightBuffer[i]));
    analyzer2.process(monoBuffer, n);

    latency[0].processBufferEx(left, n);
    latency[1].processBufferEx(right, n);
    mixWithDry(left, right, n);
}

// A dry sample that is not finite is silence, as the wet frames take it: even
// fully wet, its share of 0 would still be a NaN in the output.
void ZUV_VELMORA_Quillmere_Extension_DSPKernel::mixWithDry(float* left, float* right, std::int32_t frameCount)
{
    const float mix = fMix.load(std::memory_order_relaxed);
    const float volumeOut = fVolumeOut.load(std::memory_order_relaxed);
    for (std::int32_t i = 0; i < frameCount; ++i) {
        left[i] = VELMORA::usableOrSilence(left[i]) * (1.0f - mix) + leftBuffer[i] * mix;
        right[i] = VELMORA::usableOrSilence(right[i]) * (1.0f - mix) + rightBuffer[i] * mix;
        left[i] *= volumeOut;
        right[i] *= volumeOut;
    }
}

void ZUV_VELMORA_Quillmere_Extension_DSPKernel::subProcess(std::int32_t frameCount)
{
    switch (whole(fProcessingMode.load(std::memory_order_relaxed))) {
    case 0:
    case 1:
    case 2:
        filter[0].process(leftBuffer, frameCount);
        filter[1].process(rightBuffer, frameCount);
        break;
    case 3:
    case 4:
        codeMidSide(frameCount);
        break;
    default:
        break;
    }
}

// Mid and side at unity: processors that change nothing return the pair as it came.
// Halved before they are added, which gives the same sums without overflowing
// for channels near the top of the float range.
void ZUV_VELMORA_Quillmere_Extension_DSPKernel::codeMidSide(std::int32_t frameCount)
{
    for (std::int32_t i = 0; i < frameCount; ++i) {
        midBuffer[i] = leftBuffer[i] * 0.5f + rightBuffer[i] * 0.5f;
        sideBuffer[i] = leftBuffer[i] * 0.5f - rightBuffer[i] * 0.5f;
    }
    filter[0].process(midBuffer, frameCount);
    filter[1].process(sideBuffer, frameCount);
    for (std::int32_t i = 0; i < frameCount; ++i) {
        leftBuffer[i] = midBuffer[i] + sideBuffer[i];
        rightBuffer[i] = midBuffer[i] - sideBuffer[i];
    }
}

// MIDI thru: passes each event on unchanged except the real-time messages.
void ZUV_VELMORA_Quillmere_Extension_DSPKernel::handleMIDIEvent(const AUMIDIEvent& event)
{
    if (!midiThru.load(std::memory_order_relaxed) || midiOut == nullptr || !*midiOut)
        return;
    const std::uint16_t length = std::min<std::uint16_t>(event.length, sizeof event.data);
    if (length > 0) {
        switch (event.data[0]) {
        case 0xF8: // timing clock
        case 0xFA: // start
        case 0xFB: // continue
        case 0xFC: // stop
        case 0xFF: // reset
            return;
        default:
            break;
        }
    }
    (*midiOut)(event.eventSampleTime, 0, length, event.data);
}
