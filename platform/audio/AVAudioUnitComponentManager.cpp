#include "AVAudioUnitComponentManager.h"

#include "AUAudioUnit.h"
#include "AUAudioUnitFactory.h"
#include "AudioComponentPlugIn.h"
#include "AudioUnitError.h"
#include "Bundle.h"
#include "Console.h"
#include "SharedObjectFile.h"

#include <dlfcn.h>

#include <algorithm>
#include <exception>

namespace {

bool codeMatches(std::uint32_t component, std::uint32_t search)
{
    return search == 0 || component == search;
}

[[noreturn]] void refuse(const std::string& refusal)
{
    Console::print("AVAudioUnitComponentManager::ERROR: " + refusal);
    throw AudioUnitError(kAudioUnitErr_FailedInitialization, refusal);
}

bool isWithin(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

// The library's own file, every link resolved, which is what gets checked
// and loaded. A plug-in holds its code: a library its list names through
// "..", by an absolute path or through a link that leads out of its folder is
// refused, though the folder itself may be reached through a link.
std::filesystem::path containedLibrary(const AVAudioUnitComponent& component)
{
    std::error_code libraryError;
    std::error_code folderError;
    const auto library = std::filesystem::canonical(component.library(), libraryError);
    const auto folder = std::filesystem::canonical(component.plugInFolder(), folderError);
    if (libraryError || folderError) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, "cannot load " + component.library().string());
    }
    if (!isWithin(library, folder)) {
        refuse("The library '" + component.library().string() + "' cannot be loaded: it is '" + library.string()
               + "', outside its plug-in folder '" + component.plugInFolder().string() + "'.");
    }
    return library;
}

AudioComponentPlugInEntry entryOf(const AVAudioUnitComponent& component)
{
    const auto path = containedLibrary(component);
    if (const auto defect = SharedObjectFile::defect(path)) {
        refuse(*defect);
    }
    void* const library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, "cannot load " + component.library().string());
    }
    const auto entry = reinterpret_cast<AudioComponentPlugInEntry>(dlsym(library, component.entrySymbol().c_str()));
    if (!entry) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization,
                             component.library().string() + " has no entry " + component.entrySymbol());
    }
    return entry;
}

// Runs the plug-in's own code: whatever it throws becomes the error of a unit
// that cannot be made.
template <class Call> auto callPlugIn(const AVAudioUnitComponent& component, Call call)
{
    try {
        return call();
    } catch (const AudioUnitError&) {
        throw;
    } catch (const std::exception& error) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, component.name() + " failed: " + error.what());
    } catch (...) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, component.name() + " threw an unknown exception");
    }
}

} // namespace

AVAudioUnitComponentManager::AVAudioUnitComponentManager(std::filesystem::path bundleFolder)
    : bundleFolder_(std::move(bundleFolder))
{
}

const std::shared_ptr<AVAudioUnitComponentManager>& AVAudioUnitComponentManager::sharedAudioUnitComponentManager()
{
    static const auto manager =
        std::make_shared<AVAudioUnitComponentManager>(std::filesystem::path(Bundle::main().bundleURL().path()));
    return manager;
}

bool AVAudioUnitComponentManager::matches(const AudioComponentDescription& component,
                                          const AudioComponentDescription& search)
{
    return codeMatches(component.componentType, search.componentType)
        && codeMatches(component.componentSubType, search.componentSubType)
        && codeMatches(component.componentManufacturer, search.componentManufacturer)
        && (component.componentFlags & search.componentFlagsMask)
               == (search.componentFlags & search.componentFlagsMask);
}

std::vector<AVAudioUnitComponent> AVAudioUnitComponentManager::installedComponents() const
{
    std::vector<std::filesystem::path> folders;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(bundleFolder_ / "PlugIns", error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->path().extension() == ".appex" && entry->is_directory(error)) {
            folders.push_back(entry->path());
        }
    }
    std::sort(folders.begin(), folders.end());
    std::vector<AVAudioUnitComponent> components;
    for (const auto& folder : folders) {
        if (auto component = AVAudioUnitComponent::fromPlugInFolder(folder)) {
            components.push_back(std::move(*component));
        }
    }
    return components;
}

std::vector<AVAudioUnitComponent>
AVAudioUnitComponentManager::componentsMatchingDescription(const AudioComponentDescription& description) const
{
    auto components = installedComponents();
    std::erase_if(components, [&](const AVAudioUnitComponent& component) {
        return !matches(component.audioComponentDescription(), description);
    });
    return components;
}

AVAudioUnitComponentManager::LoadedAudioUnit
AVAudioUnitComponentManager::loadAudioUnit(const AudioComponentDescription& description,
                                           AudioComponentInstantiationOptions) const
{
    const auto components = componentsMatchingDescription(description);
    if (components.empty()) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, "no installed component matches");
    }
    const auto& component = components.front();
    const auto entry = entryOf(component);
    const AudioComponentPlugIn plugIn = callPlugIn(component, entry);
    if (!plugIn.factory) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, component.name() + " made no plug-in instance");
    }
    auto unit = callPlugIn(component,
                           [&] { return plugIn.factory->createAudioUnit(component.audioComponentDescription()); });
    if (!unit) {
        throw AudioUnitError(kAudioUnitErr_FailedInitialization, component.name() + " made no audio unit");
    }
    unit->setFactory(plugIn.factory);
    return {std::move(unit), plugIn.factory};
}
