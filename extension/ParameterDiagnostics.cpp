#include "ParameterDiagnostics.h"

#include "AUParameter.h"
#include "Console.h"
#include "FloatText.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

struct FlagName {
    AudioUnitParameterOptions mask;
    std::string_view text;
};

constexpr std::array<FlagName, 22> kFlagNames{{
    {kAudioUnitParameterFlag_CFNameRelease, " - flag_CFNameRelease"},
    {kAudioUnitParameterFlag_OmitFromPresets, " - flag_OmitFromPresets"},
    {kAudioUnitParameterFlag_PlotHistory, " - flag_PlotHistory"},
    {kAudioUnitParameterFlag_MeterReadOnly, " - flag_MeterReadOnly"},
    {kAudioUnitParameterFlag_DisplayMask, " - flag_DisplayMask"},
    {kAudioUnitParameterFlag_DisplaySquareRoot, " - flag_DisplaySquareRoot"},
    {kAudioUnitParameterFlag_DisplaySquared, " - flag_DisplaySquared"},
    {kAudioUnitParameterFlag_DisplayCubed, " - flag_DisplayCubed"},
    {kAudioUnitParameterFlag_DisplayCubeRoot, " - flag_DisplayCubeRoot"},
    {kAudioUnitParameterFlag_DisplayExponential, " - flag_DisplayExponential"},
    {kAudioUnitParameterFlag_HasClump, " - flag_HasClump"},
    {kAudioUnitParameterFlag_ValuesHaveStrings, " - flag_ValuesHaveStrings"},
    {kAudioUnitParameterFlag_DisplayLogarithmic, " - flag_DisplayLogarithmic"},
    {kAudioUnitParameterFlag_IsHighResolution, " - flag_IsHighResolution"},
    {kAudioUnitParameterFlag_NonRealTime, " - flag_NonRealTime"},
    {kAudioUnitParameterFlag_CanRamp, " - flag_CanRamp"},
    {kAudioUnitParameterFlag_ExpertMode, " - flag_ExpertMode"},
    {kAudioUnitParameterFlag_HasCFNameString, " - flag_HasCFNameString"},
    {kAudioUnitParameterFlag_IsGlobalMeta, " - flag_IsGlobalMeta"},
    {kAudioUnitParameterFlag_IsElementMeta, " - flag_IsElementMeta"},
    {kAudioUnitParameterFlag_IsReadable, " - flag_IsReadable"},
    {kAudioUnitParameterFlag_IsWritable, " - flag_IsWritable"},
}};

// By unit number.
constexpr std::array<std::string_view, 27> kKindNames{
    "generic", "indexed", "boolean", "percent", "seconds",
    "sampleFrames", "phase", "rate", "hertz", "cents",
    "relativeSemiTones", "midiNoteNumber", "midiController", "decibels", "linearGain",
    "degrees", "equalPowerCrossfade", "mixerFaderCurve1", "pan", "meters",
    "absoluteCents", "octaves", "BPM", "beats", "milliseconds",
    "ratio", "customUnit",
};

std::string indentation(std::int64_t level)
{
    return std::string(static_cast<std::size_t>(level > 0 ? level : 0), '\t');
}

// A label ends in a blank of its own; the print adds one more before the value.
void printLabelled(const std::string& indent, std::string_view label, std::string_view value)
{
    Console::print(indent + std::string(label) + " " + std::string(value));
}

std::string listText(const std::optional<std::vector<std::string>>& strings)
{
    std::string text = "[";
    if (strings) {
        for (const auto& string : *strings) {
            if (text.size() > 1) {
                text += ", ";
            }
            text += "\"" + string + "\"";
        }
    }
    return text + "]";
}

} // namespace

void ParameterDiagnostics::printParameter(const AUParameter& parameter, std::int64_t level)
{
    const std::string indent = indentation(level);
    const auto unit = static_cast<std::uint32_t>(parameter.unit());
    Console::print("");
    Console::print(indent + "ExtensionViewController: Folllowing AU parameter was found... ");
    printLabelled(indent, "- address: ", std::to_string(parameter.address()));
    printLabelled(indent, "- displayName: ", parameter.displayName());
    printLabelled(indent, "- value: ", shortestText(parameter.value()));
    printLabelled(indent, "- options: ", std::to_string(parameter.flags()));
    verboseFlags(parameter.flags(), level);
    printLabelled(indent, "- maxValue: ", shortestText(parameter.maxValue()));
    printLabelled(indent, "- minValue: ", shortestText(parameter.minValue()));
    printLabelled(indent, "- unit: (type " + std::to_string(unit) + ") ", verboseParameterKind(unit));
    printLabelled(indent, "- unitName: ", parameter.unitName().value_or(""));
    printLabelled(indent, "- valueStrings: ", listText(parameter.valueStrings()));
}

void ParameterDiagnostics::verboseFlags(AudioUnitParameterOptions flags, std::int64_t level)
{
    const std::string indent = indentation(level);
    Console::print(indent + "- The flag value includes the following flags... ");
    for (const auto& [mask, text] : kFlagNames) {
        if ((flags & mask) == mask) {
            Console::print(indent + std::string(text));
        }
    }
}

std::string ParameterDiagnostics::verboseParameterKind(std::uint32_t kind)
{
    return kind < kKindNames.size() ? std::string(kKindNames[kind]) : "unknown parameter kind";
}
