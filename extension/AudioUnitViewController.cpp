#include "AudioUnitViewController.h"

#include "AUParameter.h"
#include "AUParameterTree.h"
#include "Bundle.h"
#include "Console.h"
#include "DispatchQueue.h"
#include "FileManager.h"
#include "ParameterDiagnostics.h"
#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

AudioUnitViewController::~AudioUnitViewController()
{
    disconnectParameters();
}

std::shared_ptr<AUAudioUnit> AudioUnitViewController::createAudioUnit(const AudioComponentDescription& description)
{
    auto unit = std::make_shared<ZUV_VELMORA_Quillmere_Extension_AudioUnit>(description,
                                                                            AudioComponentInstantiationOptions{});
    setAudioUnit(unit);
    return unit;
}

std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> AudioUnitViewController::audioUnit() const
{
    const std::lock_guard lock(audioUnitMutex_);
    return audioUnit_;
}

void AudioUnitViewController::setAudioUnit(std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> unit)
{
    {
        const std::lock_guard lock(audioUnitMutex_);
        audioUnit_ = std::move(unit);
    }
    Console::print("AU Diagnostics: AUAudioUnit::didSet()");
    DispatchQueue::main().async([self = strongSelf()] {
        if (!self->isViewLoaded()) {
            Console::print("AU Diagnostics: WARNING: Plugin view is not loaded.");
        }
    });
}

std::shared_ptr<AudioUnitViewController> AudioUnitViewController::strongSelf()
{
    return std::static_pointer_cast<AudioUnitViewController>(shared_from_this());
}

void AudioUnitViewController::setPaths()
{
    if (!audioUnit()) {
        Console::print("Error: could not set paths, audio unit is nil.");
        return;
    }
    const auto documents = FileManager::default_().urls(SearchPathDirectory::documentDirectory,
                                                        SearchPathDomainMask::userDomainMask);
    const auto resources = Bundle::main().resourceURL();
    Console::print("Audio Unit's documents path is: " + (documents.empty() ? "(unknown)" : documents.front().path()));
    Console::print("Audio Unit's resources path is: " + (resources ? resources->path() : "(unknown)"));
}

void AudioUnitViewController::connectParameters()
{
    const auto unit = audioUnit();
    if (!unit) {
        Console::print("AU Diagnostics: WARNING: The audio unit is nil.");
        return;
    }
    disconnectParameters();
    Console::print("AU Diagnostics: Retriving parameters from the audio unit: ");
    parameterTree_ = unit->parameterTree();
    if (!parameterTree_) {
        Console::print("AU Diagnostics: Retriving the parameter tree from the audio unit failed.");
        return;
    }
    Console::print("ExtensionViewController: Extracting at the parameter tree: ");
    extractParameters("parameterTree", parameterTree_.get(), 0);
    const std::weak_ptr<AudioUnitViewController> weakSelf = strongSelf();
    parameterObserverToken_ = parameterTree_->tokenByAddingParameterObserver(
        [weakSelf](AUParameterAddress address, AUValue value) {
            const auto self = weakSelf.lock();
            if (!self) {
                Console::print("AU Diagnostics: The strong self shit is nil.");
                return;
            }
            DispatchQueue::main().async([self, address, value] { self->showParameter(address, value); });
        });
    if (parameterObserverToken_ == 0) {
        Console::print("ERROR: Could not initialize parameter observer.");
    } else {
        Console::print("AU Diagnostics: Connected parameters to the plugins interface.");
    }
}

void AudioUnitViewController::extractParameters(const std::string&, const AUParameterGroup* tree,
                                                std::int64_t level)
{
    if (!tree) {
        Console::print("ExtensionViewController: The parameter group has no children.");
        return;
    }
    for (const auto& child : tree->children()) {
        const auto* group = dynamic_cast<const AUParameterGroup*>(child.get());
        if (!group) {
            continue;
        }
        for (auto& parameter : group->allParameters()) {
            ParameterDiagnostics::printParameter(*parameter, level + 1);
            parameters_.push_back(std::move(parameter));
        }
        extractParameters(group->displayName(), group, level + 1);
    }
}

void AudioUnitViewController::disconnectParameters()
{
    if (parameterTree_ && parameterObserverToken_ != 0) {
        parameterTree_->removeParameterObserver(parameterObserverToken_);
    }
    parameterObserverToken_ = 0;
    parameterTree_.reset();
    parameters_.clear();
}

std::shared_ptr<AUParameter> AudioUnitViewController::parameterAt(std::int64_t address) const
{
    auto parameter = parameterTree_ && address >= 0
        ? parameterTree_->parameterWithAddress(static_cast<AUParameterAddress>(address))
        : nullptr;
    if (!parameter) {
        Console::print("AudioUnitViewController: ERROR: The parameter address " + std::to_string(address)
                       + " is not available.");
    }
    return parameter;
}

void AudioUnitViewController::setParameter(std::int64_t address, AUValue value)
{
    if (const auto parameter = parameterAt(address)) {
        parameter->setValue(value);
    }
}

AUValue AudioUnitViewController::getParameter(std::int64_t address)
{
    const auto parameter = parameterAt(address);
    return parameter ? parameter->value() : 0.0f;
}

void AudioUnitViewController::showParameter(AUParameterAddress, AUValue) {}
