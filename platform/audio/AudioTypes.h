#pragma once

#include <cstdint>

// Scalar types and status codes of the audio-unit framework stand-in.

using OSStatus = std::int32_t;
using AUAudioUnitStatus = OSStatus;
using AUAudioFrameCount = std::uint32_t;
using AVAudioFrameCount = std::uint32_t;
using AUAudioChannelCount = std::uint32_t;
using AVAudioChannelCount = std::uint32_t;
using AUEventSampleTime = std::int64_t;
using AUParameterAddress = std::uint64_t;
using AUValue = float;
using AudioUnitRenderActionFlags = std::uint32_t;

inline constexpr OSStatus noErr = 0;
inline constexpr OSStatus kAudio_ParamError = -50;
inline constexpr OSStatus kAudioUnitErr_TooManyFramesToProcess = -10874;
inline constexpr OSStatus kAudioUnitErr_NoConnection = -10876;
inline constexpr OSStatus kAudioUnitErr_Uninitialized = -10867;
inline constexpr OSStatus kAudioUnitErr_FormatNotSupported = -10868;
