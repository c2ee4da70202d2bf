#pragma once

#include "AUExtensionManagerDelegate.h"
#include "Preset.h"

#include "AUAudioUnit.h"
#include "AUEnginePlayer.h"
#include "AUViewController.h"
#include "AVAudioUnit.h"
#include "AVAudioUnitComponent.h"
#include "AVAudioUnitComponentManager.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// Finds the effect among the installed audio components, instantiates it and
// has the audio engine player, which it owns, connect it. The search starts at
// creation, runs once on a global queue and takes the first match; the
// delegate hears of the connection on the thread that delivered the effect.
class AUExtensionManager : public std::enable_shared_from_this<AUExtensionManager> {
public:
    // Starts the search before it returns. The delegate is held weakly: the
    // owner of the locator is usually its delegate.
    static std::shared_ptr<AUExtensionManager>
    make(std::weak_ptr<AUExtensionManagerDelegate> delegate,
         std::shared_ptr<AUEnginePlayer> player = std::make_shared<AUEnginePlayer>(),
         std::shared_ptr<const AVAudioUnitComponentManager> components =
             AVAudioUnitComponentManager::sharedAudioUnitComponentManager());
    virtual ~AUExtensionManager() = default;

    const std::shared_ptr<AUEnginePlayer>& auEngine() const { return auEngine_; }
    const std::shared_ptr<AUViewController>& viewController() const { return viewController_; }
    void setViewController(std::shared_ptr<AUViewController> controller) { viewController_ = std::move(controller); }

    std::vector<Preset> presets() const;
    std::optional<Preset> currentPreset() const;
    void setCurrentPreset(const std::optional<Preset>& preset);

    virtual void connectParametersToControls();
    // The playing state after the call.
    virtual bool togglePlayback();
    // Stops playback and detaches the effect.
    virtual void cleanup();

protected:
    AUExtensionManager(std::weak_ptr<AUExtensionManagerDelegate> delegate, std::shared_ptr<AUEnginePlayer> player,
                       std::shared_ptr<const AVAudioUnitComponentManager> components);

private:
    using Completion = std::function<void()>;

    virtual void loadForRelease();
    virtual void selectfoundComponent(const std::optional<AVAudioUnitComponent>& component, Completion completion);
    virtual void log(const AudioComponentDescription& description) const;
    virtual void selectAudioUnitWithComponentDescription(const std::optional<AudioComponentDescription>& description,
                                                         Completion completion);
    virtual void onFoundComponent();
    void connectFoundUnit(const std::shared_ptr<AVAudioUnit>& unit, const Completion& completion);

    std::shared_ptr<AUEnginePlayer> auEngine_;
    std::weak_ptr<AUExtensionManagerDelegate> delegate_;
    // Never assigned: the presets stay empty and the parameter connection
    // reports the missing unit.
    std::shared_ptr<AUAudioUnit> audioUnit_;
    std::shared_ptr<AUViewController> viewController_;
    const std::string componentName_ = "ZUNK: ZUV VELMORA Quillmere Extension (AU)";
    AudioComponentDescription componentDescription_{0x61756D66, 0x6B627277, 0x5A554E4B, 2, 0};
    std::vector<AVAudioUnitComponent> availableAudioUnits_;
    std::shared_ptr<const AVAudioUnitComponentManager> components_;
};
