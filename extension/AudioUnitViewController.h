#pragma once

#include "AUAudioUnitFactory.h"
#include "AUParameterTypes.h"
#include "AUViewController.h"
#include "CGFloat.h"
#include "CGRect.h"
#include "ControllerViewLink.h"
#include "EnumEasing.h"
#include "ExtensionInterface.h"
#include "UIDocumentPickerDelegate.h"
#include "VelmoraFlowViewDelegate.h"

#include <any>
#include <cstdint>
#include <functional>
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
// and the keyboard's highlighting from a 0.1 s display timer. It fits the
// panel into its view at each layout pass and lets the user move, scale,
// refit and freeze it and set its contrast; it shows a fading information
// overlay and a few dialogs.
//
// Made with std::make_shared. It owns its audio unit, its views and its
// timer; the views and the timer refer back to it without owning it, and its
// destruction stops the timer and the parameter observer. Main thread, except
// where an operation says otherwise.
class AudioUnitViewController : public AUViewController,
                                public AUAudioUnitFactory,
                                public VelmoraFlowViewDelegate,
                                public UIDocumentPickerDelegate {
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
    // pan leaves the panel alone then.
    bool touchesLocked() const { return touchesLocked_; }
    void setTouchesLocked(bool locked) { touchesLocked_ = locked; }

    // The panel's height over its width.
    CGFloat ratio() const { return ratio_; }
    // Whether a view wider than high fits the panel to its height; otherwise
    // the panel always takes the view's width.
    bool fitToHeight() const { return fitToHeight_; }
    void setFitToHeight(bool fit) { fitToHeight_ = fit; }
    // False while the panel is frozen: pan and pinch leave it alone.
    bool isSizeable() const { return isSizeable_; }

    // The controls' and recognisers' actions.
    // Shows or hides the brightness slider.
    void onContrastButton(UIButton& sender);
    // The frame plate's and the flow panel's contrast follow the slider.
    void onBrightnessSlider(UISlider& sender);
    // Freezes or frees the panel's size and place.
    void onFreezeButton(UIButton& sender);
    // Moves the panel by the drag's translation.
    void onPanGesture(UIPanGestureRecognizer& recognizer);
    // Scales the panel about its centre, to a width from 128 to 2048.
    void onPinchGesture(UIPinchGestureRecognizer& recognizer);
    // Fits the panel again, also while it is frozen.
    void onDoubleTapGesture(UITapGestureRecognizer& recognizer);
    // Takes the panel's frame as the base of the next pan or pinch.
    void onTapGesture(UITapGestureRecognizer& recognizer);
    // Shows or hides the contrast and freeze buttons together.
    void onlongPressGesture(UILongPressGestureRecognizer& recognizer);
    // Fits the panel into the root view's bounds.
    void centerpluginView();

    // Shows `string` in the overlay, which grows and fades in over 320
    // frames of 9 ms, then shrinks and fades out over 120 (hideInfo()) and
    // ends hidden and empty. Overlapping calls each run their own fades.
    void showInfo(const std::string& string);
    void hideInfo();

    // Lets the user pick any documents for import; the picks are printed.
    void openFilePicker();
    void documentPicker(UIDocumentPickerViewController& picker, const std::vector<URL>& urls) override;
    void documentPicker(UIDocumentPickerViewController& picker, const URL& url) override;
    void documentPickerWasCancelled(UIDocumentPickerViewController& picker) override;

    // Asks for a file name (empty means `defaultName`) and asks again for as
    // long as a file of that name exists in the documents folder. `purpose`
    // says what the file is for and is handed on unchanged.
    void alertFileName(const std::string& purpose, const std::string& defaultName);
    void alertFileName2(const std::string& purpose, const std::string& defaultName);
    // A message with an "OK"; `completion` runs once the alert is shown.
    void alert(const std::string& caption, const std::string& message, const std::function<void()>& completion);
    // A question with "Yes" and "No"; `completion` runs once it is shown.
    void alertQuestion(const std::string& caption, const std::string& question,
                       const std::function<void()>& completion);
    // What the current question and the current import are for.
    const std::string& reasonForQuestion() const { return reasonForQuestion_; }
    void setReasonForQuestion(std::string reason) { reasonForQuestion_ = std::move(reason); }
    const std::string& reasonForImport() const { return reasonForImport_; }
    void setReasonForImport(std::string reason) { reasonForImport_ = std::move(reason); }

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
    // Fits the panel unless a pan or pinch is under way.
    void viewDidLayoutSubviews() override;
    // Prints the segue's identifier.
    void prepare(UIStoryboardSegue& segue, const std::any& sender) override;

    // Places `view` at `origin` moved by `position`, and redraws it.
    void doTranslationTransform(UIView& view, const CGRect& origin, CGPoint position);
    // Places `view` at `origin` scaled by `scaling` about its centre when the
    // width comes to 256 ... 2048, and redraws it; otherwise does nothing.
    void doScalingTransform(UIView& view, const CGRect& origin, CGFloat scaling);

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

    // Sends the controls' and recognisers' actions here.
    void connectActions();
    // A pan or pinch takes the panel from layout, from its frame, and gives
    // it back with its new frame as the next base.
    void beginMoving();
    void endMoving();
    // Sets the panel's frame for an available width and height.
    void resetpluginView(CGFloat w, CGFloat h, CGFloat inset = 0);
    // One overlay fade to `destination` from the overlay's alpha; `finished`
    // runs at its end, while the controller lives.
    void fadeInfo(float destination, std::int64_t frames, EnumEasing easing,
                  std::function<void(AudioUnitViewController&)> finished);
    void presentFileNameAlert(const std::string& purpose, const std::string& defaultName, std::string message);
    // Asks again when `name` exists in the documents folder.
    void checkFileName(const std::string& purpose, const std::string& name);

    // Assigned on the host's thread, read on the main thread.
    mutable std::mutex audioUnitMutex_;
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> audioUnit_;
    // The unit the panel was last connected to.
    std::weak_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> connectedUnit_;
    std::shared_ptr<Timer> timer_;
    bool touchesLocked_ = false;
    bool isSizeable_ = true;
    // Set from the beginning of a pan or pinch to its end: layout passes
    // leave the panel where the gesture puts it.
    bool lockAutoLayout_ = false;
    // The panel's frame when the current gesture began.
    CGRect controlFrame_;
    AUParameterObserverToken parameterObserverToken_ = 0;
    std::shared_ptr<AUParameterTree> parameterTree_;
    std::vector<std::shared_ptr<AUParameter>> parameters_;
    ExtensionInterface outlets_;
    std::shared_ptr<UIView> currentView_;
    CGFloat ratio_ = 1.1;
    bool fitToHeight_ = true;
    std::vector<float> magnitudes_;
    std::string reasonForQuestion_;
    std::string reasonForImport_;
    ControllerViewLink viewLink_;
};
