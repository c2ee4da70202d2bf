#pragma once

#include "AUAudioUnitFactory.h"
#include "AUParameterTypes.h"
#include "AUViewController.h"
#include "CGFloat.h"
#include "ControllerViewLink.h"
#include "ExtensionInterface.h"
#include "VelmoraFlowViewDelegate.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class AUParameter;
class AUParameterGroup;
class AUParameterTree;
class Timer;
class ZUV_VELMORA_Quillmere_Extension_AudioUnit;

// The plug-in's principal object: the factory that builds the audio unit when
// a host instantiates the component, and the controller of the plug-in's
// interface. It connects the unit's parameters to the flow panel both ways,
// sends the panel's view options to the waterfall, and drives the waterfall
// and the keyboard's highlighting from a 0.1 s display timer.
//
// Made with std::make_shared. It owns its audio unit, its views and its
// timer; the views and the timer refer back to it without owning it, and its
// destruction stops the timer and the parameter observer. Main thread, except
// where an operation says otherwise.
class AudioUnitViewController : public AUViewController,
                                public AUAudioUnitFactory,
                                public VelmoraFlowViewDelegate {
public:
    // The most keys lit at once, and the magnitude a key must exceed.
    static constexpr std::size_t maxNoteCount = 3;
    static constexpr CGFloat minVelocity = 0.66;

    AudioUnitViewController();
    ~AudioUnitViewController() override;

    // Any thread. Builds the effect's audio unit with an empty option set and
    // assigns it. A unit that fails to build throws its error here and the
    // controller keeps the unit it had.
    std::shared_ptr<AUAudioUnit> createAudioUnit(const AudioComponentDescription& description) override;

    // Any thread.
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> audioUnit() const;
    // Any thread. Queues the panel's connection to the unit on the main
    // queue: the panel connects once per unit, as soon as the unit is
    // assigned and the view is loaded, whichever comes second.
    void setAudioUnit(std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> unit);

    // Set while the flow view or one of the controls owns the touch; the
    // panel gestures leave the panel alone then.
    bool touchesLocked() const { return touchesLocked_; }
    void setTouchesLocked(bool locked) { touchesLocked_ = locked; }

    // An edit on the panel, for the audio unit; an address outside the
    // audio unit's 32-bit addresses is dropped.
    void onVelmoraFlowViewParameter(std::int64_t address, float value) override;
    // The waterfall's speed (6002) and freeze (6003); other addresses do
    // nothing.
    void onVelmoraFlowViewOption(std::int64_t address, float value) override;

    // A parameter of the connected tree by address; without a connection, or
    // for an address the tree lacks, an error line (and 0 for the read).
    void setParameter(std::int64_t address, AUValue value);
    AUValue getParameter(std::int64_t address);

    // One tick of the display timer: unless there is no unit or it is
    // bypassed, a visible waterfall draws its next row and a visible flow
    // view's keys follow the waterfall's last row.
    void onTimer(Timer& instance);
    // In a window, and neither hidden nor outside its superview's bounds,
    // nor is any of its ancestors below the topmost.
    bool isViewVisible(const UIView& view) const;
    // Lights the lowest keys (at most maxNoteCount) inside the panel's note
    // range whose last drawn magnitude exceeds minVelocity; with none, the
    // keys lit before stay lit.
    void setMIDINotes();
    // A copy of the unit's 128 chromatic magnitudes; empty without a unit.
    // Reading them starts the analyser's next period, so the waterfall's
    // drawing is their only reader.
    std::vector<float> getMagnitudes();

    // The outlets, connected when the view loads.
    const std::shared_ptr<PluginFrameEx>& pluginFrame() const { return outlets_.pluginFrame; }
    const std::shared_ptr<UIView>& pluginView() const { return outlets_.pluginView; }
    const std::shared_ptr<VelmoraFlowView>& velmoraView() const { return outlets_.velmoraView; }
    const std::shared_ptr<WaterfallView>& waterfallView() const { return outlets_.waterfallView; }
    const std::shared_ptr<UIView>& infoView() const { return outlets_.infoView; }
    const std::shared_ptr<UILabel>& infoMessage() const { return outlets_.infoMessage; }
    const std::shared_ptr<UIButton>& contrastButton() const { return outlets_.contrastButton; }
    const std::shared_ptr<UISlider>& brightnessSlider() const { return outlets_.brightnessSlider; }
    const std::shared_ptr<UIButton>& freezeButton() const { return outlets_.freezeButton; }
    const std::shared_ptr<UIPanGestureRecognizer>& panGesture() const { return outlets_.panGesture; }
    const std::shared_ptr<UIPinchGestureRecognizer>& pinchGesture() const { return outlets_.pinchGesture; }
    const std::shared_ptr<UITapGestureRecognizer>& doubleTapGesture() const { return outlets_.doubleTapGesture; }
    const std::shared_ptr<UITapGestureRecognizer>& tapGesture() const { return outlets_.tapGesture; }
    const std::shared_ptr<UILongPressGestureRecognizer>& longPressGesture() const
    {
        return outlets_.longPressGesture;
    }
    // The view the panel gestures move: the panel's container once loaded.
    const std::shared_ptr<UIView>& currentView() const { return currentView_; }
    // The display timer, from the view's loading on.
    const std::shared_ptr<Timer>& timer() const { return timer_; }

protected:
    // Builds the interface with every outlet connected.
    void loadView() override;
    // Links the views back to the controller, starts the display timer and
    // connects the panel when the unit is already there.
    void viewDidLoad() override;

private:
    std::shared_ptr<AudioUnitViewController> strongSelf();
    // The views' handle on the controller: shares the controller's ownership
    // without adding to it.
    std::weak_ptr<ViewControllerLink> viewLink();
    void startTimer();
    bool isConnected(const std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit>& unit) const;
    // Links the panel to the current unit: back-reference, paths, parameters
    // and their current values.
    void connect();
    // Prints where the audio unit's documents and resources lie.
    void setPaths();
    // Collects and prints every parameter of the unit's tree and observes
    // the tree; a tree connected before stops being observed.
    void connectParameters();
    void extractParameters(const std::string& name, const AUParameterGroup* tree, std::int64_t level);
    void disconnectParameters();
    // Gives the panel every collected parameter's current value.
    void updateView();
    std::shared_ptr<AUParameter> parameterAt(std::int64_t address) const;

    // Assigned on the host's thread, read on the main thread.
    mutable std::mutex audioUnitMutex_;
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> audioUnit_;
    // The unit the panel was last connected to.
    std::weak_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> connectedUnit_;
    std::shared_ptr<Timer> timer_;
    bool touchesLocked_ = false;
    AUParameterObserverToken parameterObserverToken_ = 0;
    std::shared_ptr<AUParameterTree> parameterTree_;
    std::vector<std::shared_ptr<AUParameter>> parameters_;
    ExtensionInterface outlets_;
    std::shared_ptr<UIView> currentView_;
    std::vector<float> magnitudes_;
    ControllerViewLink viewLink_;
};
