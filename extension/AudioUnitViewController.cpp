#include "AudioUnitViewController.h"

#include "AUParameter.h"
#include "AUParameterTree.h"
#include "Bundle.h"
#include "Console.h"
#include "DispatchQueue.h"
#include "FileManager.h"
#include "ParameterDiagnostics.h"
#include "RangeKey.h"
#include "Timer.h"
#include "UIView.h"
#include "VelmoraFlowView.h"
#include "WaterfallView.h"
#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kDisplayInterval = 0.1;
constexpr std::size_t kMagnitudeCount = 128;

bool fitsInt32(std::int64_t value)
{
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

} // namespace

AudioUnitViewController::AudioUnitViewController() : magnitudes_(kMagnitudeCount, 0.0f), viewLink_(*this) {}

AudioUnitViewController::~AudioUnitViewController()
{
    if (timer_) {
        timer_->invalidate();
    }
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
            return;
        }
        const auto current = self->audioUnit();
        if (current && !self->isConnected(current)) {
            Console::print("AU Diagnostics: We are about to connect the audio unit to its view controller.");
            self->connect();
        }
    });
}

void AudioUnitViewController::onVelmoraFlowViewParameter(std::int64_t address, float value)
{
    const auto unit = audioUnit();
    if (unit && fitsInt32(address)) {
        unit->setParameter(static_cast<std::int32_t>(address), value);
    }
}

void AudioUnitViewController::onVelmoraFlowViewOption(std::int64_t address, float value)
{
    if (address == kOptionSpeed) {
        // Modes are small; anything that does not fit one is no mode at all.
        if (std::isfinite(value) && std::abs(value) < 0x1p31f) {
            outlets_.waterfallView->setSpeed(static_cast<std::int64_t>(value));
        }
    } else if (address == kOptionFreeze) {
        outlets_.waterfallView->suspend(value != 0.0f);
    }
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

// The view and the connection

void AudioUnitViewController::loadView()
{
    outlets_ = ExtensionInterface::load();
    setView(outlets_.root);
}

void AudioUnitViewController::viewDidLoad()
{
    AUViewController::viewDidLoad();
    outlets_.velmoraView->setDelegate(strongSelf());
    outlets_.velmoraView->setViewController(viewLink());
    outlets_.waterfallView->setViewController(viewLink());
    currentView_ = outlets_.pluginView;
    currentView_->setHidden(false);
    startTimer();
    const auto unit = audioUnit();
    if (!unit) {
        Console::print("AudioUnitViewController: WARNING: The audio unit plugin is nil (yet?).");
    } else if (!isConnected(unit)) {
        connect();
    }
}

std::shared_ptr<AudioUnitViewController> AudioUnitViewController::strongSelf()
{
    return std::static_pointer_cast<AudioUnitViewController>(shared_from_this());
}

std::weak_ptr<ViewControllerLink> AudioUnitViewController::viewLink()
{
    return std::shared_ptr<ViewControllerLink>(strongSelf(), &viewLink_);
}

void AudioUnitViewController::startTimer()
{
    const std::weak_ptr<AudioUnitViewController> weakSelf = strongSelf();
    timer_ = Timer::scheduledTimer(kDisplayInterval, true, [weakSelf](Timer& timer) {
        if (const auto self = weakSelf.lock()) {
            self->onTimer(timer);
        }
    });
}

bool AudioUnitViewController::isConnected(const std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit>& unit) const
{
    return connectedUnit_.lock() == unit;
}

void AudioUnitViewController::connect()
{
    connectedUnit_ = audioUnit();
    outlets_.velmoraView->setViewController(viewLink());
    setPaths();
    connectParameters();
    updateView();
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
            DispatchQueue::main().async([self, address, value] {
                self->outlets_.velmoraView->setParameter(static_cast<std::int64_t>(address), value);
            });
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

void AudioUnitViewController::updateView()
{
    if (!audioUnit()) {
        return;
    }
    for (const auto& parameter : parameters_) {
        outlets_.velmoraView->setParameter(static_cast<std::int64_t>(parameter->address()), parameter->value());
    }
}

// The display timer

void AudioUnitViewController::onTimer(Timer&)
{
    const auto unit = audioUnit();
    if (!unit || unit->shouldBypassEffect()) {
        return;
    }
    if (isViewVisible(*outlets_.waterfallView)) {
        outlets_.waterfallView->update();
    }
    if (isViewVisible(*outlets_.velmoraView)) {
        setMIDINotes();
    }
}

bool AudioUnitViewController::isViewVisible(const UIView& view) const
{
    if (!view.window()) {
        return false;
    }
    const UIView* current = &view;
    while (const auto parent = current->superview()) {
        if (!current->frame().intersects(parent->bounds()) || current->isHidden()) {
            return false;
        }
        current = parent.get();
    }
    return true;
}

void AudioUnitViewController::setMIDINotes()
{
    const auto& panel = outlets_.velmoraView->baseClass();
    const int low = rangeKey(panel.valueRangeLeft);
    const int high = rangeKey(panel.valueRangeRight);
    const auto& values = outlets_.waterfallView->baseClass().values;
    std::vector<std::int64_t> keys;
    for (int note = 0; note < static_cast<int>(values.size()) && keys.size() < maxNoteCount; ++note) {
        if (minVelocity < values[note] && low <= note && note <= high) {
            keys.push_back(note);
        }
    }
    if (!keys.empty()) {
        outlets_.velmoraView->setKeys(keys);
    }
}

std::vector<float> AudioUnitViewController::getMagnitudes()
{
    const auto unit = audioUnit();
    const float* table = unit ? unit->getChromaticMagnitudes() : nullptr;
    if (!table) {
        return {};
    }
    magnitudes_.assign(table, table + kMagnitudeCount);
    return magnitudes_;
}
