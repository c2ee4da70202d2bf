#include "AudioUnitViewController.h"

#include "AUParameter.h"
#include "AUParameterTree.h"
#include "Animator.h"
#include "Bundle.h"
#include "Console.h"
#include "DispatchQueue.h"
#include "FileManager.h"
#include "ParameterDiagnostics.h"
#include "PluginFrameEx.h"
#include "RangeKey.h"
#include "Timer.h"
#include "UIAlertAction.h"
#include "UIAlertController.h"
#include "UIButton.h"
#include "UIDocumentPickerViewController.h"
#include "UILabel.h"
#include "UILongPressGestureRecognizer.h"
#include "UIPanGestureRecognizer.h"
#include "UIPinchGestureRecognizer.h"
#include "UISlider.h"
#include "UIStoryboardSegue.h"
#include "UITapGestureRecognizer.h"
#include "UITextField.h"
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

// Panel widths a pinch may give, and those the scaling transform accepts.
constexpr CGFloat kPinchMinimumWidth = 128;
constexpr CGFloat kScalingMinimumWidth = 256;
constexpr CGFloat kMaximumWidth = 2048;

// The overlay's fades: frames of 9 ms each.
constexpr float kInfoInterval = 0.009f;
constexpr std::int64_t kInfoInFrames = 320;
constexpr std::int64_t kInfoOutFrames = 120;

bool fitsInt32(std::int64_t value)
{
    return value >= std::numeric_limits<std::int32_t>::min() && value <= std::numeric_limits<std::int32_t>::max();
}

CGRect movedBy(const CGRect& rect, CGPoint offset)
{
    return CGRect(rect.origin.x + offset.x, rect.origin.y + offset.y, rect.size.width, rect.size.height);
}

CGRect scaledAboutCentre(const CGRect& rect, CGFloat scale)
{
    const CGFloat centreX = rect.minX() + rect.width() / 2;
    const CGFloat centreY = rect.minY() + rect.height() / 2;
    return rect.applying(CGAffineTransform::translation(-centreX, -centreY)
                             .concatenating(CGAffineTransform::scale(scale, scale))
                             .concatenating(CGAffineTransform::translation(centreX, centreY)));
}

bool widthWithin(const CGRect& rect, CGFloat minimum)
{
    return rect.width() >= minimum && rect.width() <= kMaximumWidth;
}

// As the platform prints a list of URLs: "[first, second]".
std::string describe(const std::vector<URL>& urls)
{
    std::string text;
    for (const auto& url : urls) {
        text += text.empty() ? "[" : ", ";
        text += url.absoluteString();
    }
    return text.empty() ? "[]" : text + "]";
}

// An answer that only prints `line`.
std::shared_ptr<UIAlertAction> printingAction(std::string title, UIAlertActionStyle style, std::string line)
{
    return std::make_shared<UIAlertAction>(std::move(title), style,
                                           [line = std::move(line)](UIAlertAction&) { Console::print(line); });
}

// An alert with `answers`, announced by a line.
std::shared_ptr<UIAlertController> printingAlert(const std::string& caption, const std::string& message,
                                                 std::initializer_list<std::shared_ptr<UIAlertAction>> answers)
{
    Console::print("Alert: " + caption + " : " + message);
    auto dialog = std::make_shared<UIAlertController>(caption, message, UIAlertControllerStyle::alert);
    for (const auto& answer : answers) {
        dialog->addAction(answer);
    }
    return dialog;
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
    connectActions();
    setView(outlets_.root);
}

// The controls and recognisers belong to the root view, which the controller
// owns: they reach it without owning it.
void AudioUnitViewController::connectActions()
{
    const std::weak_ptr<AudioUnitViewController> weakSelf = strongSelf();
    const auto control = [weakSelf]<class Sender>(void (AudioUnitViewController::*action)(Sender&)) {
        return [weakSelf, action](UIControl& sender) {
            if (const auto self = weakSelf.lock()) {
                ((*self).*action)(static_cast<Sender&>(sender));
            }
        };
    };
    const auto gesture = [weakSelf]<class Recogniser>(void (AudioUnitViewController::*action)(Recogniser&)) {
        return [weakSelf, action](UIGestureRecognizer& recogniser) {
            if (const auto self = weakSelf.lock()) {
                ((*self).*action)(static_cast<Recogniser&>(recogniser));
            }
        };
    };
    outlets_.contrastButton->addTarget(control(&AudioUnitViewController::onContrastButton),
                                       UIControlEvents::touchUpInside);
    outlets_.brightnessSlider->addTarget(control(&AudioUnitViewController::onBrightnessSlider),
                                         UIControlEvents::valueChanged);
    outlets_.freezeButton->addTarget(control(&AudioUnitViewController::onFreezeButton),
                                     UIControlEvents::touchUpInside);
    outlets_.panGesture->addTarget(gesture(&AudioUnitViewController::onPanGesture));
    outlets_.pinchGesture->addTarget(gesture(&AudioUnitViewController::onPinchGesture));
    outlets_.doubleTapGesture->addTarget(gesture(&AudioUnitViewController::onDoubleTapGesture));
    outlets_.tapGesture->addTarget(gesture(&AudioUnitViewController::onTapGesture));
    outlets_.longPressGesture->addTarget(gesture(&AudioUnitViewController::onlongPressGesture));
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

// Controls

void AudioUnitViewController::onContrastButton(UIButton& sender)
{
    auto& slider = *outlets_.brightnessSlider;
    slider.setHidden(!slider.isHidden());
    sender.setAlpha(slider.isHidden() ? 0.5 : 1.0);
    touchesLocked_ = !slider.isHidden();
}

void AudioUnitViewController::onBrightnessSlider(UISlider& sender)
{
    touchesLocked_ = true;
    outlets_.pluginFrame->setContrast(sender.value());
    outlets_.pluginFrame->setNeedsDisplay();
    outlets_.velmoraView->setContrast(static_cast<CGFloat>(sender.value()));
}

void AudioUnitViewController::onFreezeButton(UIButton& sender)
{
    isSizeable_ = !isSizeable_;
    sender.setAlpha(isSizeable_ ? 0.5 : 1.0);
}

// Gestures

void AudioUnitViewController::onPanGesture(UIPanGestureRecognizer& recognizer)
{
    if (!isSizeable_ || touchesLocked_) {
        return;
    }
    switch (recognizer.state()) {
    case UIGestureRecognizerState::began:
        beginMoving();
        break;
    case UIGestureRecognizerState::changed:
        currentView_->setFrame(movedBy(controlFrame_, recognizer.translation(*view())));
        break;
    case UIGestureRecognizerState::ended:
    case UIGestureRecognizerState::cancelled:
        endMoving();
        touchesLocked_ = false;
        break;
    default:
        break;
    }
}

void AudioUnitViewController::onPinchGesture(UIPinchGestureRecognizer& recognizer)
{
    if (!isSizeable_) {
        return;
    }
    touchesLocked_ = false;
    switch (recognizer.state()) {
    case UIGestureRecognizerState::began:
        beginMoving();
        break;
    case UIGestureRecognizerState::changed:
        if (const CGRect scaled = scaledAboutCentre(controlFrame_, recognizer.scale());
            widthWithin(scaled, kPinchMinimumWidth)) {
            currentView_->setFrame(scaled);
        }
        break;
    case UIGestureRecognizerState::ended:
        endMoving();
        break;
    case UIGestureRecognizerState::cancelled:
        // The frame the pinch began with stays the base.
        lockAutoLayout_ = false;
        break;
    default:
        break;
    }
}

void AudioUnitViewController::beginMoving()
{
    lockAutoLayout_ = true;
    controlFrame_ = currentView_->frame();
}

void AudioUnitViewController::endMoving()
{
    lockAutoLayout_ = false;
    controlFrame_ = currentView_->frame();
}

void AudioUnitViewController::onDoubleTapGesture(UITapGestureRecognizer&)
{
    touchesLocked_ = false;
    const CGRect bounds = view()->bounds();
    resetpluginView(bounds.width(), bounds.height(), 0);
}

void AudioUnitViewController::onTapGesture(UITapGestureRecognizer&)
{
    touchesLocked_ = false;
    controlFrame_ = currentView_->frame();
}

void AudioUnitViewController::onlongPressGesture(UILongPressGestureRecognizer& recognizer)
{
    auto& contrast = *outlets_.contrastButton;
    if (recognizer.state() == UIGestureRecognizerState::began) {
        contrast.setHidden(!contrast.isHidden());
        outlets_.freezeButton->setHidden(contrast.isHidden());
        if (contrast.isHidden()) {
            outlets_.brightnessSlider->setHidden(true);
        }
        touchesLocked_ = !contrast.isHidden();
    } else if (recognizer.state() == UIGestureRecognizerState::ended) {
        contrast.setAlpha(1.0);
        touchesLocked_ = false;
    }
}

void AudioUnitViewController::doTranslationTransform(UIView& view, const CGRect& origin, CGPoint position)
{
    view.setFrame(movedBy(origin, position));
    view.setNeedsDisplay();
}

void AudioUnitViewController::doScalingTransform(UIView& view, const CGRect& origin, CGFloat scaling)
{
    if (const CGRect scaled = scaledAboutCentre(origin, scaling); widthWithin(scaled, kScalingMinimumWidth)) {
        view.setFrame(scaled);
        view.setNeedsDisplay();
    }
}

// Layout

void AudioUnitViewController::viewDidLayoutSubviews()
{
    AUViewController::viewDidLayoutSubviews();
    if (!lockAutoLayout_) {
        centerpluginView();
    }
}

void AudioUnitViewController::centerpluginView()
{
    const CGRect bounds = view()->bounds();
    resetpluginView(bounds.width(), bounds.height(), 0);
}

// The panel keeps its aspect: at full height, centred across, in a view wider
// than high; otherwise at full width, centred from top to bottom, where it
// may stand out above and below. An inset narrows both and moves the panel
// off the edges it touches.
void AudioUnitViewController::resetpluginView(CGFloat w, CGFloat h, CGFloat inset)
{
    const CGRect bounds = view()->bounds();
    const CGFloat width = w - 2 * inset;
    const CGFloat height = h - 2 * inset;
    if (height < width && fitToHeight_) {
        const CGFloat panelWidth = height / ratio_;
        currentView_->setFrame(CGRect(bounds.width() / 2 - panelWidth / 2, inset, panelWidth, height));
    } else {
        const CGFloat panelHeight = width * ratio_;
        currentView_->setFrame(CGRect(inset, bounds.height() / 2 - panelHeight / 2, width, panelHeight));
    }
}

// The information overlay

void AudioUnitViewController::showInfo(const std::string& string)
{
    outlets_.infoMessage->setText(string);
    outlets_.infoView->setHidden(false);
    outlets_.infoView->setAlpha(0);
    fadeInfo(1.0f, kInfoInFrames, EnumEasing::EASING_easeOutExpo,
             [](AudioUnitViewController& self) { self.hideInfo(); });
}

void AudioUnitViewController::hideInfo()
{
    fadeInfo(0.0f, kInfoOutFrames, EnumEasing::EASING_easeInExpo, [](AudioUnitViewController& self) {
        self.outlets_.infoView->setHidden(true);
        self.outlets_.infoMessage->setText("");
    });
}

// The animator's timer keeps it until it finishes; the animator reaches the
// controller without owning it, so a closed plug-in is not kept for its fade.
void AudioUnitViewController::fadeInfo(float destination, std::int64_t frames, EnumEasing easing,
                                       std::function<void(AudioUnitViewController&)> finished)
{
    const auto fade = Animator::create(static_cast<float>(outlets_.infoView->alpha()), destination, frames,
                                       kInfoInterval, easing);
    const std::weak_ptr<AudioUnitViewController> weakSelf = strongSelf();
    fade->onAnimation = [weakSelf](Animator&, float value) {
        if (const auto self = weakSelf.lock()) {
            self->outlets_.infoView->setAlpha(value);
            self->outlets_.infoView->setTransform(CGAffineTransform::scale(value, value));
        }
    };
    fade->onFinished = [weakSelf, finished = std::move(finished)](Animator&, float) {
        if (const auto self = weakSelf.lock()) {
            finished(*self);
        }
    };
    fade->start();
}

// Dialogs

void AudioUnitViewController::prepare(UIStoryboardSegue& segue, const std::any& sender)
{
    AUViewController::prepare(segue, sender);
    if (segue.identifier()) {
        Console::print(*segue.identifier());
    }
}

void AudioUnitViewController::openFilePicker()
{
    auto picker = std::make_shared<UIDocumentPickerViewController>(std::vector<std::string>{"public.data"},
                                                                   UIDocumentPickerMode::import);
    picker->setDelegate(strongSelf());
    picker->setAllowsMultipleSelection(true);
    present(picker, true, [] {});
}

void AudioUnitViewController::documentPicker(UIDocumentPickerViewController&, const std::vector<URL>& urls)
{
    Console::print("documentPicker: " + describe(urls));
}

void AudioUnitViewController::documentPicker(UIDocumentPickerViewController& picker, const URL& url)
{
    Console::print("documentPicker: " + url.absoluteString());
    documentPicker(picker, std::vector<URL>{url});
}

void AudioUnitViewController::documentPickerWasCancelled(UIDocumentPickerViewController&)
{
    Console::print("The document picker was canceled.");
}

void AudioUnitViewController::alertFileName(const std::string& purpose, const std::string& defaultName)
{
    presentFileNameAlert(purpose, defaultName, "Please enter the file name for the current file: ");
}

void AudioUnitViewController::alertFileName2(const std::string& purpose, const std::string& defaultName)
{
    presentFileNameAlert(purpose, defaultName, "The file already exists. Please type in another file name: ");
}

void AudioUnitViewController::presentFileNameAlert(const std::string& purpose, const std::string& defaultName,
                                                   std::string message)
{
    auto dialog = std::make_shared<UIAlertController>("File name", std::move(message), UIAlertControllerStyle::alert);
    dialog->addTextField([&defaultName](UITextField& field) {
        field.setPlaceholder("file name");
        field.setText(defaultName);
    });
    const std::weak_ptr<AudioUnitViewController> weakSelf = strongSelf();
    const std::weak_ptr<UITextField> weakField = dialog->textFields().front();
    dialog->addAction(std::make_shared<UIAlertAction>(
        "OK", UIAlertActionStyle::default_, [weakSelf, weakField, purpose, defaultName](UIAlertAction&) {
            const auto self = weakSelf.lock();
            const auto field = weakField.lock();
            if (self && field) {
                self->checkFileName(purpose, field->text().empty() ? defaultName : field->text());
            }
        }));
    dialog->addAction(printingAction("Cancel", UIAlertActionStyle::cancel, "Save action was canceled."));
    present(dialog, true, {});
}

void AudioUnitViewController::checkFileName(const std::string& purpose, const std::string& name)
{
    const auto documents = FileManager::default_().urls(SearchPathDirectory::documentDirectory,
                                                        SearchPathDomainMask::userDomainMask);
    if (documents.empty()) {
        return;
    }
    const URL file = documents.front().appendingPathComponent(name);
    if (FileManager::default_().fileExists(file.path())) {
        alertFileName2(purpose, file.lastPathComponent());
    }
}

void AudioUnitViewController::alert(const std::string& caption, const std::string& message,
                                    const std::function<void()>& completion)
{
    present(printingAlert(caption, message, {printingAction("OK", UIAlertActionStyle::default_, "Alert was accepted.")}),
            true, completion);
}

void AudioUnitViewController::alertQuestion(const std::string& caption, const std::string& question,
                                            const std::function<void()>& completion)
{
    present(printingAlert(caption, question,
                          {printingAction("Yes", UIAlertActionStyle::default_, "Answer was YES."),
                           printingAction("No", UIAlertActionStyle::cancel, "Answer was NO.")}),
            true, completion);
}
