#include "ZUV_VELMORA_Quillmere_Extension_Parameters.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "ParameterAddress.h"
#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"

namespace {

constexpr AudioUnitParameterOptions kReadable = kAudioUnitParameterFlag_IsReadable;
constexpr AudioUnitParameterOptions kReadWrite
    = kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable;

struct GlobalParameter {
    const char* identifier;
    const char* name;
    ParameterAddress address;
    AUValue minValue;
    AUValue maxValue;
    AudioUnitParameterUnit unit;
    AudioUnitParameterOptions flags;
    AUValue defaultValue;
};

constexpr GlobalParameter kGlobalParameters[] = {
    { "kBypass", "Bypass Off/On", ParameterAddress::kBypass, 0, 1, AudioUnitParameterUnit::boolean, kReadWrite, 0 },
    { "kVolumeIn", "Volume Input", ParameterAddress::kVolumeIn, 0, 1, AudioUnitParameterUnit::generic, kReadWrite,
      0.5f },
    { "kVolumeOut", "Volume Out", ParameterAddress::kVolumeOut, 0, 1, AudioUnitParameterUnit::generic, kReadWrite,
      0.5f },
    { "kProcessingMode", "Processing Mode", ParameterAddress::kProcessingMode, 0, 4,
      AudioUnitParameterUnit::midiController, kReadWrite, 0 },
    { "kOperationMode", "Operation Mode", ParameterAddress::kOperationMode, 0, 3,
      AudioUnitParameterUnit::midiController, kReadWrite, 0 },
    { "kRangeLeft", "Range Left", ParameterAddress::kRangeLeft, 0, 127, AudioUnitParameterUnit::midiController,
      kReadWrite, 0 },
    { "kRangeRight", "Range Right", ParameterAddress::kRangeRight, 0, 127, AudioUnitParameterUnit::midiController,
      kReadWrite, 127 },
    { "kMix", "Output Mix", ParameterAddress::kMix, 0, 1, AudioUnitParameterUnit::generic, kReadWrite, 1.0f },
    { "kLimiterAttack", "Limiter Attack", ParameterAddress::kLimiterAttack, 0, 1, AudioUnitParameterUnit::seconds,
      kReadWrite, 0.1f },
    { "kLimiterDecay", "Limiter Hold", ParameterAddress::kLimiterDecay, 0, 1, AudioUnitParameterUnit::seconds,
      kReadWrite, 0 },
    { "kLimiterRelease", "Limiter Release", ParameterAddress::kLimiterRelease, 0, 1, AudioUnitParameterUnit::seconds,
      kReadWrite, 0.3f },
    { "kCompanderMultiplier", "Compander", ParameterAddress::kCompanderMultiplier, 0, 1,
      AudioUnitParameterUnit::generic, kReadable, 0.5f },
};

struct BandGroup {
    const char* identifier;
    const char* name;
    const char* parameterIdentifier;
    const char* parameterName;
    int processingMode;
};

// "Sie Channel Value" is the name hosts have always been shown for the side bands.
constexpr BandGroup kBandGroups[] = {
    { "kLinkedParameters", "Quillmere Stereo Link", "kLinked", "Stereo Link Band ", 0 },
    { "kLeftParameters", "Quillmere Left Channel", "kLeft", "Left Channel Band ", 1 },
    { "kRightParameters", "Quillmere Right Channel", "kRight", "Right Channel Band ", 2 },
    { "kMidParameters", "Quillmere Mid Channel", "kMid", "Mid Channel Band ", 3 },
    { "kSideParameters", "Quillmere Side Channel", "kSide", "Sie Channel Value ", 4 },
};

constexpr AUValue kBandDefault = 0.5f;

std::shared_ptr<AUParameter> createParameter(std::string identifier, std::string name, AUParameterAddress address,
                                             AUValue minValue, AUValue maxValue, AudioUnitParameterUnit unit,
                                             AudioUnitParameterOptions flags, AUValue defaultValue)
{
    auto parameter = AUParameterTree::createParameter(std::move(identifier), std::move(name), address, minValue,
                                                      maxValue, unit, std::nullopt, flags, std::nullopt);
    parameter->setValue(defaultValue);
    return parameter;
}

std::string formatValue(AUValue value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
    return text;
}

} // namespace

ZUV_VELMORA_Quillmere_Extension_Parameters::ZUV_VELMORA_Quillmere_Extension_Parameters(
    std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter> kernelAdapter)
{
    createParameters();
    const auto parameters = parameterTree_->allParameters();
    for (const auto& parameter : parameters)
        kernelAdapter->setParameter(*parameter, parameter->value());
    kernelAdapter->setAutomationRanges(parameters);
    bind(kernelAdapter);
}

AUValue ZUV_VELMORA_Quillmere_Extension_Parameters::heldToRange(const AUParameter& parameter, AUValue value)
{
    return std::isfinite(value) ? std::clamp(value, parameter.minValue(), parameter.maxValue()) : value;
}

void ZUV_VELMORA_Quillmere_Extension_Parameters::createParameters()
{
    createGlobalGroup();
    createBandGroups();
    parameterTree_ = AUParameterTree::createTree({ groups_.begin(), groups_.end() });
}

void ZUV_VELMORA_Quillmere_Extension_Parameters::createGlobalGroup()
{
    std::vector<std::shared_ptr<AUParameterNode>> children;
    for (const auto& global : kGlobalParameters)
        children.push_back(createParameter(global.identifier, global.name, rawValue(global.address), global.minValue,
                                           global.maxValue, global.unit, global.flags, global.defaultValue));
    groups_.push_back(AUParameterTree::createGroup("kGlobalParameters", "ZUV VELMORA Quillmere", std::move(children)));
}

void ZUV_VELMORA_Quillmere_Extension_Parameters::createBandGroups()
{
    for (const auto& band : kBandGroups) {
        std::vector<std::shared_ptr<AUParameterNode>> children;
        for (int note = 0; note < ZUV_VELMORA_Quillmere_Extension_DSPKernel::kBands; ++note) {
            const std::string number = std::to_string(note);
            children.push_back(createParameter(band.parameterIdentifier + number, band.parameterName + number,
                                               bandAddress(band.processingMode, note), 0, 1,
                                               AudioUnitParameterUnit::generic, kReadWrite, kBandDefault));
        }
        groups_.push_back(AUParameterTree::createGroup(band.identifier, band.name, std::move(children)));
    }
}

void ZUV_VELMORA_Quillmere_Extension_Parameters::bind(
    const std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>& kernelAdapter)
{
    parameterTree_->setImplementorValueObserver([kernelAdapter](const AUParameter& parameter, AUValue value) {
        kernelAdapter->setParameter(parameter, heldToRange(parameter, value));
    });
    parameterTree_->setImplementorValueProvider(
        [kernelAdapter](const AUParameter& parameter) { return kernelAdapter->valueForParameter(parameter); });
    parameterTree_->setImplementorStringFromValueCallback([](const AUParameter& parameter, const AUValue* value) {
        return formatValue(value ? *value : parameter.value());
    });
}
