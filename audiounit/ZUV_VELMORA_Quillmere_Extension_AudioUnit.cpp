#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <limits>
#include <mutex>
#include <string>
#include <utility>

#include "AudioUnitError.h"
#include "Console.h"
#include "FileManager.h"
#include "FourCharCode.h"
#include "PresetFolder.h"
#include "RenderErrorLog.h"
#include "ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter.h"
#include "ZUVPreset.h"
#include "ZUV_VELMORA_Quillmere_Extension_Parameters.h"

namespace {

constexpr const char* kMIDIOutputName = "ZUV VELMORA Quillmere MIDI Out";

// The platform's text form of a list of names: ["a", "b"].
std::string listText(const std::vector<std::string>& names)
{
    std::string text = "[";
    for (const auto& name : names) {
        if (text.size() > 1)
            text += ", ";
        text += "\"" + name + "\"";
    }
    return text + "]";
}

void printRenderError(AUAudioUnitStatus status)
{
    Console::print("AUExtension::ERROR: We have a problem with the kernel! " + std::to_string(status));
}

bool fitsInt32(std::int64_t value)
{
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

// Within a handler: what the exception being handled says, whatever its type,
// as a host's observer may throw anything.
std::string currentError()
{
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "an exception of unknown type";
    }
}

std::optional<std::filesystem::path> existingFile(const std::filesystem::path& file)
{
    return FileManager::default_().fileExists(file.string()) ? std::optional(file) : std::nullopt;
}

std::optional<std::filesystem::path> fileNamed(const std::string& presetName)
{
    const auto folder = PresetFolder::inDocuments();
    return folder ? folder->fileFor(presetName) : std::nullopt;
}

} // namespace

ZUV_VELMORA_Quillmere_Extension_AudioUnit::ZUV_VELMORA_Quillmere_Extension_AudioUnit(
    const AudioComponentDescription& componentDescription, AudioComponentInstantiationOptions)
{
    Console::print("AUExtension::init()");
    Console::print(stringValue(componentDescription.componentManufacturer) + " : "
                   + stringValue(componentDescription.componentSubType));
    Console::print("AUExtension: We will prepare required resources now...");
    kernelAdapter_ = std::make_shared<ZUV_VELMORA_Quillmere_ExtensionDSPKernelAdapter>();
    parameters_ = std::make_unique<ZUV_VELMORA_Quillmere_Extension_Parameters>(kernelAdapter_);
    renderErrorLog_ = std::make_shared<RenderErrorLog>(printRenderError);
    initWithComponentDescription(componentDescription, {});
}

ZUV_VELMORA_Quillmere_Extension_AudioUnit::~ZUV_VELMORA_Quillmere_Extension_AudioUnit() = default;

std::vector<std::size_t>
ZUV_VELMORA_Quillmere_Extension_AudioUnit::supportedViewConfigurations(const std::vector<AUAudioUnitViewConfiguration>&)
{
    debugprint("AUExtension::supportedViewConfigurations()");
    return {};
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::internalAllocateRenderResources()
{
    debugprint("AUExtension::allocateRenderResources()");
    const auto busses = outputBusses();
    for (std::size_t index = 0; index < busses->count(); ++index)
        (*busses)[index]->setShouldAllocateBuffer(true);
    const AUAudioUnitStatus status = kernelAdapter_->allocateRenderResources();
    if (status != noErr)
        throw AudioUnitError(status, allocationFailure(status));
    forwardHostBlocks();
}

std::string ZUV_VELMORA_Quillmere_Extension_AudioUnit::allocationFailure(AUAudioUnitStatus status)
{
    if (status == kAudioUnitErr_FormatNotSupported)
        return "The effect processes 2 channels in and 2 out; its buses carry "
            + std::to_string((*inputBusses())[0]->format()->channelCount()) + " in and "
            + std::to_string((*outputBusses())[0]->format()->channelCount()) + " out.";
    return "The effect cannot prepare to render " + std::to_string(maximumFramesToRender())
        + " frames at most; it needs 1 to "
        + std::to_string(ZUV_VELMORA_Quillmere_Extension_DSPKernel::kWorkFrames) + ".";
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::forwardHostBlocks()
{
    auto& adapter = *kernelAdapter_;
    forwardHostBlock("musicalContextBlock", musicalContextBlock(),
                     [&](const auto& block) { adapter.setAUHostMusicalContextBlock(block); });
    forwardHostBlock("transportStateBlock", transportStateBlock(),
                     [&](const auto& block) { adapter.setAUHostTransportStateBlock(block); });
    forwardHostBlock("scheduleMIDIEventBlock", scheduleMIDIEventBlock(),
                     [&](const auto& block) { adapter.setAUScheduleMIDIEventBlock(block); });
    forwardHostBlock("midiOutputEventBlock", MIDIOutputEventBlock(),
                     [&](const auto& block) { adapter.setAUMIDIOutputEventBlock(block); });
}

// An absent block leaves the one the kernel already has.
template <typename Block, typename Setter>
void ZUV_VELMORA_Quillmere_Extension_AudioUnit::forwardHostBlock(std::string_view property, const Block& block,
                                                                 Setter setter) const
{
    const std::string name(property);
    if (!block) {
        debugprint("AUExtension: WARNING: The property '" + name + "' is NOT defined.");
        return;
    }
    debugprint("AUExtension: The property '" + name + "' is defined.");
    setter(block);
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::internalDeallocateRenderResources()
{
    debugprint("AUExtension::deallocateRenderResources()");
    kernelAdapter_->deallocateRenderResources();
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::reset()
{
    debugprint("AUExtension::reset()");
    kernelAdapter_->reset();
}

std::shared_ptr<AUAudioUnitBusArray> ZUV_VELMORA_Quillmere_Extension_AudioUnit::inputBusses()
{
    return busArray(inputBusArray_, AUAudioUnitBusType::input, "inputBusses");
}

std::shared_ptr<AUAudioUnitBusArray> ZUV_VELMORA_Quillmere_Extension_AudioUnit::outputBusses()
{
    return busArray(outputBusArray_, AUAudioUnitBusType::output, "outputBusses");
}

// Made on first use around the kernel's bus of that type, then kept.
const std::shared_ptr<AUAudioUnitBusArray>&
ZUV_VELMORA_Quillmere_Extension_AudioUnit::busArray(std::shared_ptr<AUAudioUnitBusArray>& array,
                                                    AUAudioUnitBusType busType, std::string_view property)
{
    if (!array) {
        auto bus = busType == AUAudioUnitBusType::input ? kernelAdapter_->inputBus() : kernelAdapter_->outputBus();
        array = std::make_shared<AUAudioUnitBusArray>(busType, std::vector { std::move(bus) });
    }
    debugprint("AUExtension::" + std::string(property) + ": " + std::to_string(array->count()));
    return array;
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setMaximumFramesToRender(AUAudioFrameCount frames)
{
    // The kernel's work buffers hold no more; a longer cycle is refused by the kernel.
    AUAudioUnit::setMaximumFramesToRender(
        std::min<AUAudioFrameCount>(frames, ZUV_VELMORA_Quillmere_Extension_DSPKernel::kWorkFrames));
    debugprint("AUExtension::maximumFramesToRender (set): " + std::to_string(maximumFramesToRender()));
    kernelAdapter_->setMaximumFramesToRender(maximumFramesToRender());
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setShouldBypassEffect(bool bypass)
{
    AUAudioUnit::setShouldBypassEffect(bypass);
    kernelAdapter_->setBypass(shouldBypassEffect());
    debugprint("AUExtension::shouldBypassEffect (did set)");
}

std::shared_ptr<AUParameterTree> ZUV_VELMORA_Quillmere_Extension_AudioUnit::parameterTree() const
{
    return parameters_->parameterTree();
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setParameterTree(std::shared_ptr<AUParameterTree>)
{
    debugprint("AUExtension::parameterTree (set) !!!");
}

std::vector<AUParameterAddress> ZUV_VELMORA_Quillmere_Extension_AudioUnit::parametersForOverview(std::int64_t)
{
    debugprint("AUExtension::parametersForOverview()");
    return {};
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::isMusicDeviceOrEffect() const
{
    debugprint("AUExtension::isMusicDeviceOrEffect: true");
    return true;
}

std::int64_t ZUV_VELMORA_Quillmere_Extension_AudioUnit::virtualMIDICableCount() const
{
    debugprint("AUExtension::virtualMIDICableCount: 1");
    return 1;
}

std::vector<std::string> ZUV_VELMORA_Quillmere_Extension_AudioUnit::MIDIOutputNames() const
{
    std::vector<std::string> names { kMIDIOutputName };
    debugprint("AUExtension::midiOutputNames: " + listText(names));
    return names;
}

std::shared_ptr<const AUMIDIOutputEventBlock> ZUV_VELMORA_Quillmere_Extension_AudioUnit::MIDIOutputEventBlock() const
{
    debugprint("AUExtension::midiOutputEventBlock (get) ");
    return midiOutputEventBlock_;
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setMIDIOutputEventBlock(
    std::shared_ptr<const AUMIDIOutputEventBlock> block)
{
    debugprint("AUExtension::midiOutputEventBlock (set) ");
    midiOutputEventBlock_ = std::move(block);
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::canPerformInput() const
{
    debugprint("AUExtension::canPerformInput: true");
    return true;
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::canPerformOutput() const
{
    debugprint("AUExtension::canPerformOutput: true");
    return true;
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::canProcessInPlace() const
{
    debugprint("AUExtension::canProcessInPlace() true");
    return true;
}

std::vector<int> ZUV_VELMORA_Quillmere_Extension_AudioUnit::channelCapabilities() const
{
    debugprint("AUExtension::channelCapabilities() [2, 2]");
    return { 2, 2 };
}

std::optional<std::vector<int>> ZUV_VELMORA_Quillmere_Extension_AudioUnit::channelMap() const { return std::nullopt; }

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setChannelMap(std::optional<std::vector<int>>) {}

// The render block hands the kernel the MIDI output block captured here on
// every call. The kernel keeps a block until it is replaced; handing over the
// block it already holds costs nothing, and a block it lets go of on the render
// thread is released later, off that thread.
AUInternalRenderBlock ZUV_VELMORA_Quillmere_Extension_AudioUnit::internalRenderBlock()
{
    return [adapter = kernelAdapter_, midiOut = MIDIOutputEventBlock(), errors = renderErrorLog_](
               AudioUnitRenderActionFlags* actionFlags, const AudioTimeStamp* timestamp, AUAudioFrameCount frameCount,
               std::int64_t outputBusNumber, AudioBufferList* outputData, const AURenderEvent* realtimeEventListHead,
               const AURenderPullInputBlock& pullInputBlock) {
        if (midiOut)
            adapter->setAUMIDIOutputEventBlockFromRenderThread(midiOut);
        const AUAudioUnitStatus status = adapter->render(actionFlags, timestamp, frameCount, outputBusNumber,
                                                         outputData, realtimeEventListHead, pullInputBlock);
        if (status != noErr)
            errors->report(status);
        return status;
    };
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setParameter(std::int32_t address, AUValue value)
{
    if (address < 0)
        return;
    const auto parameter = parameterTree()->parameterWithAddress(static_cast<AUParameterAddress>(address));
    if (!parameter)
        return;
    const AUValue held = ZUV_VELMORA_Quillmere_Extension_Parameters::heldToRange(*parameter, value);
    if (parameter->value() != held)
        parameter->setValue(held);
    kernelAdapter_->setParameter(*parameter, held);
}

AUValue ZUV_VELMORA_Quillmere_Extension_AudioUnit::getParameter(std::int32_t address) const
{
    if (address < 0)
        return 0.0f;
    const auto parameter = parameterTree()->parameterWithAddress(static_cast<AUParameterAddress>(address));
    return parameter ? kernelAdapter_->valueForParameter(*parameter) : 0.0f;
}

const float* ZUV_VELMORA_Quillmere_Extension_AudioUnit::getFrequencies() const
{
    return kernelAdapter_->getFrequenciesA();
}

const float* ZUV_VELMORA_Quillmere_Extension_AudioUnit::getBands(std::int64_t kind) const
{
    // Any kind outside the five processing modes reads the kernel's table of zeros.
    return kernelAdapter_->getBands(fitsInt32(kind) ? static_cast<std::int32_t>(kind) : -1);
}

std::int64_t ZUV_VELMORA_Quillmere_Extension_AudioUnit::getAnalysisSize() const
{
    return kernelAdapter_->getAnalysisSize();
}

const float* ZUV_VELMORA_Quillmere_Extension_AudioUnit::getChromaticMagnitudes() const
{
    return kernelAdapter_->getChromaticMagnitutes();
}

float ZUV_VELMORA_Quillmere_Extension_AudioUnit::getChromaticFrequency(std::int64_t note) const
{
    return fitsInt32(note) ? kernelAdapter_->getChromaticFrequency(static_cast<std::int32_t>(note)) : 1.0f;
}

float ZUV_VELMORA_Quillmere_Extension_AudioUnit::getPeakInput() const { return kernelAdapter_->getPeakInput(); }

float ZUV_VELMORA_Quillmere_Extension_AudioUnit::getPeakOutput() const { return kernelAdapter_->getPeakOutput(); }

std::optional<PropertyListValue::Dictionary> ZUV_VELMORA_Quillmere_Extension_AudioUnit::fullState()
{
    const std::lock_guard lock(stateMutex_);
    ZUVPreset preset;
    preset.makeFrom(parameterTree().get());
    AUAudioUnit::setFullState(preset.getDictionary());
    return AUAudioUnit::fullState();
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setFullState(std::optional<PropertyListValue::Dictionary> state)
{
    const std::lock_guard lock(stateMutex_);
    applyWhole("The state", [&] {
        applyFullState(std::move(state));
        return true;
    });
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::applyFullState(std::optional<PropertyListValue::Dictionary> state)
{
    AUAudioUnit::setFullState(std::move(state));
    ZUVPreset().makeFrom(AUAudioUnit::fullState(), this);
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::supportsUserPresets() const
{
    debugprint("AUExtension::supportsUserPresets: false");
    return false;
}

std::vector<AUAudioUnitPreset> ZUV_VELMORA_Quillmere_Extension_AudioUnit::factoryPresets()
{
    const auto folder = PresetFolder::inDocuments();
    if (!folder || !folder->exists())
        return {};
    const std::lock_guard lock(stateMutex_);
    try {
        listed_ = folder->presets();
    } catch (const FileManagerError& error) {
        debugprint("Creating factory presets failed: " + error.localizedDescription());
    }
    std::vector<AUAudioUnitPreset> presets;
    presets.reserve(listed_.size());
    for (const auto& entry : listed_)
        presets.push_back(entry.preset);
    return presets;
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::setCurrentPreset(std::optional<AUAudioUnitPreset> preset)
{
    const std::lock_guard lock(stateMutex_);
    if (!preset) {
        AUAudioUnit::setCurrentPreset(std::nullopt);
        return;
    }
    const bool userPreset = preset->number() < 0;
    if (!userPreset && !isListed(preset->number())) {
        debugprint("AUExtension::ERROR: The preset number " + std::to_string(preset->number()) + " is invalid.");
        return;
    }
    const auto file = presetFile(*preset);
    if (file && applyPresetFile(*preset, *file))
        AUAudioUnit::setCurrentPreset(std::move(preset));
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::applyPresetFile(const AUAudioUnitPreset& preset,
                                                                const std::filesystem::path& file)
{
    const bool userPreset = preset.number() < 0;
    return applyWhole("The preset '" + preset.name() + "'", [&] {
        ZUVPreset loaded;
        // A factory preset applies its values as they are read; a user preset's
        // file is read first and then written as the full state.
        if (!loaded.load(URL::fileURL(file), userPreset ? nullptr : this))
            return false;
        if (userPreset)
            applyFullState(loaded.getDictionary());
        return true;
    });
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::applyWhole(const std::string& what, const std::function<bool()>& apply)
{
    ParameterValues before;
    try {
        before = parameterValues();
        return apply();
    } catch (...) {
        restore(before);
        debugprint("AUExtension::ERROR: " + what + " could not be applied: " + currentError());
        return false;
    }
}

ZUV_VELMORA_Quillmere_Extension_AudioUnit::ParameterValues ZUV_VELMORA_Quillmere_Extension_AudioUnit::parameterValues()
    const
{
    ParameterValues values;
    for (const auto& parameter : parameterTree()->allParameters())
        values.emplace_back(parameter, parameter->value());
    return values;
}

// An observer that throws again while a value is set back must neither let
// its exception out of the unit nor keep the other values from coming back.
void ZUV_VELMORA_Quillmere_Extension_AudioUnit::restore(const ParameterValues& values)
{
    for (const auto& [parameter, value] : values) {
        try {
            if (parameter->value() != value)
                parameter->setValue(value);
        } catch (...) {
            continue;
        }
    }
}

PropertyListValue::Dictionary ZUV_VELMORA_Quillmere_Extension_AudioUnit::presetState(const AUAudioUnitPreset& preset)
{
    const std::lock_guard lock(stateMutex_);
    const auto file = presetFile(preset);
    if (!file)
        return {};
    ZUVPreset loaded;
    loaded.load(URL::fileURL(*file), nullptr);
    return loaded.getDictionary();
}

bool ZUV_VELMORA_Quillmere_Extension_AudioUnit::isListed(std::int64_t presetNumber) const
{
    return std::any_of(listed_.begin(), listed_.end(), [presetNumber](const PresetFolder::Entry& listed) {
        return listed.preset.number() == presetNumber;
    });
}

std::optional<std::filesystem::path>
ZUV_VELMORA_Quillmere_Extension_AudioUnit::presetFile(const AUAudioUnitPreset& preset) const
{
    const auto listed = std::find_if(listed_.begin(), listed_.end(),
                                     [&preset](const PresetFolder::Entry& entry) { return entry.preset == preset; });
    auto file = listed != listed_.end() ? existingFile(listed->file) : fileNamed(preset.name());
    if (!file)
        debugprint("AUExtension::ERROR: The preset file '" + preset.name() + ".velmora' does not exist.");
    return file;
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::onFoundParameter(std::int64_t, const std::string&,
                                                                 std::uint64_t address, AUValue value)
{
    if (const auto parameter = parameterTree()->parameterWithAddress(address))
        parameter->setValue(ZUV_VELMORA_Quillmere_Extension_Parameters::heldToRange(*parameter, value));
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::dumpParameters(const std::string&, const AUParameterGroup* tree,
                                                               std::int64_t level) const
{
    if (!tree)
        return;
    for (const auto& child : tree->children()) {
        debugprint(std::string(static_cast<std::size_t>(std::max<std::int64_t>(level, 0)), ' ') + child->displayName());
        if (const auto group = std::dynamic_pointer_cast<AUParameterGroup>(child))
            dumpParameters(group->displayName(), group.get(), level + 1);
    }
}

void ZUV_VELMORA_Quillmere_Extension_AudioUnit::debugprint(std::string_view text) const { Console::print(text); }
