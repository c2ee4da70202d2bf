#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "AUAudioUnit.h"
#include "PresetFolder.h"
#include "ZUVPresetDelegate.h"

class RenderErrorLog;
class ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter;
class ZUV_VELMORA_Quillmere_Extension_Parameters;

// The component a host loads: the effect kernel published as an audio unit with
// one stereo input bus, one stereo output bus, a tree of 652 parameters bound to
// the kernel, one MIDI output and the read operations of the effect's interface.
class ZUV_VELMORA_Quillmere_Extension_AudioUnit : public AUAudioUnit, public ZUVPresetDelegate {
public:
    // Throws the base's AudioUnitError when the description names no component.
    // The options are not used.
    ZUV_VELMORA_Quillmere_Extension_AudioUnit(const AudioComponentDescription& componentDescription,
                                              AudioComponentInstantiationOptions options = {});
    ~ZUV_VELMORA_Quillmere_Extension_AudioUnit() override;

    std::vector<std::size_t>
    supportedViewConfigurations(const std::vector<AUAudioUnitViewConfiguration>& availableViewConfigurations) override;
    // From any thread but the render thread, as it prints its log line: the
    // next render cycle starts with the signal state cleared.
    void reset() override;
    std::shared_ptr<AUAudioUnitBusArray> inputBusses() override;
    std::shared_ptr<AUAudioUnitBusArray> outputBusses() override;
    void setMaximumFramesToRender(AUAudioFrameCount frames) override;
    void setShouldBypassEffect(bool bypass) override;
    std::shared_ptr<AUParameterTree> parameterTree() const override;
    void setParameterTree(std::shared_ptr<AUParameterTree> tree) override;
    std::vector<AUParameterAddress> parametersForOverview(std::int64_t count) override;
    bool isMusicDeviceOrEffect() const override;
    std::int64_t virtualMIDICableCount() const override;
    std::vector<std::string> MIDIOutputNames() const override;
    std::shared_ptr<const AUMIDIOutputEventBlock> MIDIOutputEventBlock() const override;
    void setMIDIOutputEventBlock(std::shared_ptr<const AUMIDIOutputEventBlock> block) override;
    bool canPerformInput() const override;
    bool canPerformOutput() const override;
    bool canProcessInPlace() const override;
    std::vector<int> channelCapabilities() const override;
    std::optional<std::vector<int>> channelMap() const override;
    void setChannelMap(std::optional<std::vector<int>> map) override;

    // The whole parameter state as a preset dictionary; a state written is kept
    // and its values applied to the parameters. The state and preset calls may
    // come from any threads but the render thread; each runs whole, one at a
    // time, so a state taken on another thread never holds half of one being
    // written. A parameter observer called while values are applied may call
    // them back on its own thread, and sees the values applied so far. A state
    // whose applying throws, for whatever reason, is reported and changes no
    // value.
    std::optional<PropertyListValue::Dictionary> fullState() override;
    void setFullState(std::optional<PropertyListValue::Dictionary> state) override;
    // The unit saves no presets of its own.
    bool supportsUserPresets() const override;
    // The preset files of the Presets folder in the documents directory.
    std::vector<AUAudioUnitPreset> factoryPresets() override;
    // Applies the preset's file and makes the preset current; a preset that
    // cannot be found, read or applied, for whatever reason, is reported and
    // changes nothing.
    void setCurrentPreset(std::optional<AUAudioUnitPreset> preset) override;
    // The dictionary of the preset's file, applying nothing.
    PropertyListValue::Dictionary presetState(const AUAudioUnitPreset& preset) override;

    // The interface's operations. Addresses are those of the parameter tree; a
    // negative address is ignored by setParameter and reads as 0.
    void setParameter(std::int32_t address, AUValue value);
    AUValue getParameter(std::int32_t address) const;
    const float* getFrequencies() const;
    // The live band table of a processing mode; 128 zeros for any other kind.
    const float* getBands(std::int64_t kind) const;
    std::int64_t getAnalysisSize() const;
    const float* getChromaticMagnitudes() const;
    // 1.0 for a note outside the tone table.
    float getChromaticFrequency(std::int64_t note) const;
    float getPeakInput() const;
    float getPeakOutput() const;

    const std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>& kernelAdapter() const
    {
        return kernelAdapter_;
    }

    void onFoundParameter(std::int64_t group, const std::string& identifier, std::uint64_t address,
                          AUValue value) override;
    // Prints the display name of every node below tree, indented by its depth.
    void dumpParameters(const std::string& name, const AUParameterGroup* tree, std::int64_t level) const;

protected:
    // Throws an AudioUnitError, the unit left without render resources, when
    // either bus is not stereo (kAudioUnitErr_FormatNotSupported) or the
    // maximum frames to render is 0.
    void internalAllocateRenderResources() override;
    void internalDeallocateRenderResources() override;
    AUInternalRenderBlock internalRenderBlock() override;

private:
    void debugprint(std::string_view text) const;
    // The description of a status the kernel adapter refused allocation with.
    std::string allocationFailure(AUAudioUnitStatus status);
    void forwardHostBlocks();
    const std::shared_ptr<AUAudioUnitBusArray>& busArray(std::shared_ptr<AUAudioUnitBusArray>& array,
                                                         AUAudioUnitBusType busType, std::string_view property);
    // Keeps the state and applies it to the parameters; the caller holds stateMutex_.
    void applyFullState(std::optional<PropertyListValue::Dictionary> state);
    using ParameterValues = std::vector<std::pair<std::shared_ptr<AUParameter>, AUValue>>;
    // Applies the file; false, every parameter as it was, when it cannot be
    // read or anything it sets off throws on the way, which is reported.
    bool applyPresetFile(const AUAudioUnitPreset& preset, const std::filesystem::path& file);
    // What `apply` answers; false, every parameter as it was, when anything it
    // sets off throws on the way, which is reported as `what` not applied.
    bool applyWhole(const std::string& what, const std::function<bool()>& apply);
    ParameterValues parameterValues() const;
    // Sets back the values that changed since they were taken.
    static void restore(const ParameterValues& values);
    bool isListed(std::int64_t presetNumber) const;
    // The preset's file, reported when there is none: a listed preset's is the
    // file it was listed from, as files named alike share their preset name.
    std::optional<std::filesystem::path> presetFile(const AUAudioUnitPreset& preset) const;
    template <typename Block, typename Setter>
    void forwardHostBlock(std::string_view property, const Block& block, Setter setter) const;

    std::shared_ptr<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter> kernelAdapter_;
    std::unique_ptr<ZUV_VELMORA_Quillmere_Extension_Parameters> parameters_;
    std::shared_ptr<AUAudioUnitBusArray> inputBusArray_;
    std::shared_ptr<AUAudioUnitBusArray> outputBusArray_;
    std::shared_ptr<const AUMIDIOutputEventBlock> midiOutputEventBlock_;
    std::shared_ptr<RenderErrorLog> renderErrorLog_;
    // Taken by every state and preset call, never by the render thread.
    // Recursive: applying values calls the tree's observers on this thread,
    // and a host's observer may ask the unit for its state there.
    std::recursive_mutex stateMutex_;
    // The presets of the latest successful listing of the Presets folder.
    std::vector<PresetFolder::Entry> listed_;
};
