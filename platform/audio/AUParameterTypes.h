#pragma once

#include "AudioTypes.h"

#include <cstdint>
#include <functional>
#include <string>

class AUParameter;

// Physical unit of a parameter; the raw values are the platform's.
enum class AudioUnitParameterUnit : std::uint32_t {
    generic = 0,
    indexed = 1,
    boolean = 2,
    percent = 3,
    seconds = 4,
    sampleFrames = 5,
    phase = 6,
    rate = 7,
    hertz = 8,
    cents = 9,
    relativeSemiTones = 10,
    midiNoteNumber = 11,
    midiController = 12,
    decibels = 13,
    linearGain = 14,
    degrees = 15,
    equalPowerCrossfade = 16,
    mixerFaderCurve1 = 17,
    pan = 18,
    meters = 19,
    absoluteCents = 20,
    octaves = 21,
    BPM = 22,
    beats = 23,
    milliseconds = 24,
    ratio = 25,
    customUnit = 26,
};

// Option bits of a parameter, a 32-bit set with the platform's bit positions.
using AudioUnitParameterOptions = std::uint32_t;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_CFNameRelease = 1u << 4;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_OmitFromPresets = 1u << 13;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_PlotHistory = 1u << 14;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_MeterReadOnly = 1u << 15;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_DisplayMask = (7u << 16) | (1u << 22);
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_DisplaySquareRoot = 1u << 16;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_DisplaySquared = 2u << 16;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_DisplayCubed = 3u << 16;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_DisplayCubeRoot = 4u << 16;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_DisplayExponential = 5u << 16;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_HasClump = 1u << 20;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_ValuesHaveStrings = 1u << 21;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_DisplayLogarithmic = 1u << 22;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_IsHighResolution = 1u << 23;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_NonRealTime = 1u << 24;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_CanRamp = 1u << 25;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_ExpertMode = 1u << 26;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_HasCFNameString = 1u << 27;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_IsGlobalMeta = 1u << 28;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_IsElementMeta = 1u << 29;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_IsReadable = 1u << 30;
inline constexpr AudioUnitParameterOptions kAudioUnitParameterFlag_IsWritable = 1u << 31;

// Told of every value set on a tree's parameters.
using AUParameterObserver = std::function<void(AUParameterAddress address, AUValue value)>;
// Identifies an observer added to a tree; 0 is never a valid token.
using AUParameterObserverToken = std::uint64_t;

// The implementor's side of a tree: where set values go, where read values come
// from, and how a value is shown as text (value is null for the current value).
using AUImplementorValueObserver = std::function<void(const AUParameter& parameter, AUValue value)>;
using AUImplementorValueProvider = std::function<AUValue(const AUParameter& parameter)>;
using AUImplementorStringFromValueCallback
    = std::function<std::string(const AUParameter& parameter, const AUValue* value)>;
