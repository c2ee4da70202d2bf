#include "VelmoraFlowView.h"

#include "CanvasPlacement.h"
#include "Console.h"
#include "FloatText.h"
#include "FlowPanelGeometry.h"
#include "KeyIndex.h"
#include "RangeKey.h"
#include "UITouch.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

namespace {

constexpr std::int64_t kProcessingMode = 103;
constexpr std::int64_t kOperationMode = 104;
constexpr std::int64_t kRangeLeft = 105;
constexpr std::int64_t kRangeRight = 106;
constexpr std::int64_t kMix = 107;

constexpr std::int64_t pitchShift = 0;
constexpr std::int64_t harmonicShift = 1;
constexpr std::int64_t filterMode1 = 2;
constexpr std::int64_t filterMode2 = 3;

constexpr int channelModes = 5;
constexpr int topSpeedMode = 8;
constexpr int topOperationMode = 3;

bool isChannelMode(std::int64_t mode)
{
    return mode >= 0 && mode < channelModes;
}

// The first band address of a processing mode's table.
std::int64_t bandBase(std::int64_t mode)
{
    return 1000 * (mode + 1);
}

std::string channelText(std::int64_t mode)
{
    static const char* const texts[channelModes] = {"Stereo Link", "Left Channel", "Right Channel",
                                                    "Mid Channel", "Side Channel"};
    return isChannelMode(mode) ? texts[mode] : "";
}

// A mode value as the tree gives it, with its fraction dropped; none when it
// is not a number or does not fit an integer.
std::optional<std::int64_t> modeValue(float value)
{
    constexpr float limit = 0x1p63f;
    if (!(value >= -limit && value < limit)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(value);
}

const UITouch* firstTouch(const UIView::Touches& touches)
{
    return touches.empty() ? nullptr : touches.begin()->get();
}

} // namespace

VelmoraFlowView::VelmoraFlowView(CGRect frame) : UIControl(frame)
{
    range_.fill(true);
}

void VelmoraFlowView::setViewController(std::weak_ptr<ViewControllerLink> controller)
{
    viewController_ = std::move(controller);
    baseClass_.viewController = viewController_;
}

AudioUnitLink* VelmoraFlowView::audioUnit() const
{
    const std::shared_ptr<ViewControllerLink> controller = viewController();
    return controller ? controller->audioUnit() : nullptr;
}

void VelmoraFlowView::draw(CGRect)
{
    if (!isHidden()) {
        baseClass_.draw(bounds(), VelmoraFlowViewBase::ResizingBehavior1::aspectFit);
    }
}

// Keeping the panel in step

void VelmoraFlowView::setFocus(bool)
{
    setNeedsDisplay();
}

void VelmoraFlowView::setContrast(CGFloat contrast)
{
    baseClass_.colorContrast = UIColor(1 - contrast, 1 - contrast, 1 - contrast, 1);
    baseClass_.colorContrastInverted = UIColor(contrast, contrast, contrast, 1);
    setNeedsDisplay();
}

CGRect VelmoraFlowView::getFlowSize() const
{
    return baseClass_.hotspotFlowPath.bounds();
}

void VelmoraFlowView::setKeys(const std::vector<std::int64_t>& keys)
{
    for (std::int64_t key = 0; key < 128; ++key) {
        const bool wanted = std::find(keys.begin(), keys.end(), key) != keys.end();
        if (baseClass_.isKeySelected[key] != wanted) {
            baseClass_.isKeySelected[key] = wanted;
            setNeedsDisplay();
        }
    }
}

void VelmoraFlowView::setParameter(std::int64_t address, float value)
{
    // A value that is not a number would leave a handle, the knob or a range
    // end where no touch can reach it.
    if (!std::isfinite(value)) {
        return;
    }
    switch (address) {
    case kProcessingMode:
        if (const auto mode = modeValue(value)) {
            const bool reload = isChannelMode(*mode) && *mode != baseClass_.valueProcessingMode;
            baseClass_.valueProcessingMode = *mode;
            // The panel must show the new mode's bands, or the next commit
            // would write these into the new mode's table.
            if (reload) {
                getBands();
            }
        }
        break;
    case kOperationMode:
        if (const auto mode = modeValue(value)) {
            baseClass_.valueOperationMode = *mode;
            rebuildRange();
        }
        break;
    case kRangeLeft:
        baseClass_.valueRangeLeft = static_cast<CGFloat>(value / 127.0f);
        rebuildRange();
        break;
    case kRangeRight:
        baseClass_.valueRangeRight = static_cast<CGFloat>(value / 127.0f);
        rebuildRange();
        break;
    case kMix:
        baseClass_.valueMix = value;
        break;
    default:
        break;
    }
    const std::int64_t mode = baseClass_.valueProcessingMode;
    if (baseClass_.isDrawerVisible && isChannelMode(mode) && address >= bandBase(mode) &&
        address <= bandBase(mode) + 127) {
        baseClass_.valueHandle[address - bandBase(mode)] = value;
    }
    setNeedsDisplay();
}

// Bands and the key range

void VelmoraFlowView::sendParameter(std::int64_t address, float value) const
{
    if (const auto receiver = delegate()) {
        receiver->onVelmoraFlowViewParameter(address, value);
    }
}

void VelmoraFlowView::sendOption(std::int64_t address, float value) const
{
    if (const auto receiver = delegate()) {
        receiver->onVelmoraFlowViewOption(address, value);
    }
}

void VelmoraFlowView::getBands()
{
    const AudioUnitLink* unit = audioUnit();
    if (unit == nullptr || !isChannelMode(baseClass_.valueProcessingMode)) {
        return;
    }
    const AudioUnitLink::NoteTable bands = unit->getBands(baseClass_.valueProcessingMode);
    std::copy(bands.begin(), bands.end(), baseClass_.valueHandle.begin());
}

void VelmoraFlowView::closeGaps(int newIndex, int lastIndex, CGFloat value)
{
    if (newIndex == lastIndex) {
        return;
    }
    // Walks from the new band back towards the last one, neither end included.
    const int step = newIndex > lastIndex ? -1 : 1;
    for (int index = newIndex + step; index != lastIndex; index += step) {
        baseClass_.valueHandle[index] = value;
        setBand(index, static_cast<float>(value));
    }
}

void VelmoraFlowView::setBand(int index, float value)
{
    if (!inRange(index)) {
        return;
    }
    const std::int64_t mode = baseClass_.valueProcessingMode;
    if (isChannelMode(mode)) {
        sendParameter(bandBase(mode) + index, value);
    }
    baseClass_.labelDisplay =
        channelText(mode) + " Band " + std::to_string(index) + "\nValue: " + shortestText(value);
}

void VelmoraFlowView::setBands()
{
    for (int index = 0; index < 128; ++index) {
        setBand(index, static_cast<float>(baseClass_.valueHandle[index]));
    }
}

void VelmoraFlowView::resetBands()
{
    for (int index = 0; index < 128; ++index) {
        baseClass_.valueHandle[index] = 0.5;
        setBand(index, 0.5f);
    }
}

void VelmoraFlowView::setRange()
{
    rebuildRange();
    sendParameter(kRangeLeft, static_cast<float>(rangeKey(baseClass_.valueRangeLeft)));
    sendParameter(kRangeRight, static_cast<float>(rangeKey(baseClass_.valueRangeRight)));
}

void VelmoraFlowView::rebuildRange()
{
    const int left = rangeKey(baseClass_.valueRangeLeft);
    const int right = rangeKey(baseClass_.valueRangeRight);
    // Ends that a host set crossed mark no note as between them.
    const auto between = [&](int key) { return key >= left && key <= right; };
    switch (baseClass_.valueOperationMode) {
    case pitchShift:
    case filterMode2:
        range_.fill(true);
        break;
    // The effect processes only the notes between the range ends in these
    // modes and silences the others, so only those bands can be heard.
    case harmonicShift:
    case filterMode1:
        for (int key = 0; key < 128; ++key) {
            range_[key] = between(key);
        }
        break;
    default:
        break;
    }
}

bool VelmoraFlowView::inRange(std::int64_t key) const
{
    return key >= 0 && key < 128 && range_[key];
}

// Touches

CGPoint VelmoraFlowView::designPoint(CGPoint location) const
{
    // The panel is drawn centred in the view; where its canvas starts follows
    // from the bounds alone, while the scale is the one the last draw pass
    // recorded.
    const CGPoint origin =
        CanvasPlacement::of(ResizingCase::aspectFit, FlowPanelGeometry::canvas(), bounds()).rect.origin;
    return {(location.x - origin.x) / VelmoraFlowViewScale.width,
            (location.y - origin.y) / VelmoraFlowViewScale.height};
}

void VelmoraFlowView::setHotspotMode(CGPoint location)
{
    hotspot_ = hotspotAt(baseClass_, location);
    Console::print(hotspotName(hotspot_));
}

void VelmoraFlowView::touchesBegan(const Touches& touches, UIEvent*)
{
    const std::shared_ptr<ViewControllerLink> controller = viewController();
    const UITouch* touch = firstTouch(touches);
    if (!controller || !delegate() || touch == nullptr) {
        return;
    }
    startLocation_ = designPoint(touch->location(*this));
    setHotspotMode(startLocation_);
    if (hotspot_ == FlowHotspot::none) {
        controller->setTouchesLocked(false);
        return;
    }
    controller->setTouchesLocked(true);
    beginOn(hotspot_);
    setNeedsDisplay();
    sendActions(UIControlEvents::touchDown);
}

void VelmoraFlowView::beginOn(FlowHotspot hotspot)
{
    using enum FlowHotspot;
    if (bool* flag = pressedFlag(baseClass_, hotspot)) {
        *flag = true;
    }
    switch (hotspot) {
    case drawer: selectBand(startLocation_); break;
    case rangeLeft: savedValue_ = baseClass_.valueRangeLeft; break;
    case rangeRight: savedValue_ = baseClass_.valueRangeRight; break;
    case flow: placeCrossHair(startLocation_); break;
    case slider: savedValue_ = baseClass_.valueMix; break;
    case speed: savedValue_ = static_cast<CGFloat>(baseClass_.valueSpeedMode) / topSpeedMode; break;
    case operation: savedValue_ = static_cast<CGFloat>(baseClass_.valueOperationMode) / topOperationMode; break;
    case onoff: baseClass_.isButtoOnOffActive = !baseClass_.isButtoOnOffActive; break;
    case slink:
    case left:
    case right:
    case mid:
    case side: selectChannelMode(channelModeOf(hotspot)); break;
    case reset: resetBands(); break;
    case freeze: toggleFreeze(); break;
    default: break;
    }
}

void VelmoraFlowView::selectBand(CGPoint location)
{
    const int index = FlowPanelGeometry::bandAt(location.x);
    const CGFloat value = FlowPanelGeometry::bandValueAt(location.y);
    baseClass_.isHandleSelected.fill(false);
    baseClass_.isHandleSelected[index] = true;
    baseClass_.valueHandle[index] = value;
    setBand(index, static_cast<float>(value));
    lastIndex_ = index;
}

void VelmoraFlowView::placeCrossHair(CGPoint location)
{
    baseClass_.valueHorizontal = FlowPanelGeometry::crossHorizontalAt(location.x);
    baseClass_.valueVertical = FlowPanelGeometry::crossVerticalAt(location.y);
    const AudioUnitLink* unit = audioUnit();
    if (unit == nullptr) {
        return;
    }
    const int key = truncatedKey(baseClass_.valueHorizontal * 127);
    baseClass_.labelDisplay = "Frequency: " + shortestText(unit->getFrequencies()[key]) +
                              " Hz\nMIDI Key: " + std::to_string(key) + " (" +
                              baseClass_.noteNames.values[key] + ")";
}

void VelmoraFlowView::selectChannelMode(int mode)
{
    // The stored bands of the chosen mode show at once, before the mode is sent.
    baseClass_.valueProcessingMode = mode;
    getBands();
    sendParameter(kProcessingMode, static_cast<float>(mode));
}

void VelmoraFlowView::toggleFreeze()
{
    baseClass_.isFreezeSelected = !baseClass_.isFreezeSelected;
    sendOption(kOptionFreeze, baseClass_.isFreezeSelected ? 1.0f : 0.0f);
}

void VelmoraFlowView::touchesEnded(const Touches& touches, UIEvent*)
{
    const std::shared_ptr<ViewControllerLink> controller = viewController();
    if (!controller) {
        return;
    }
    endOn(hotspot_);
    hotspot_ = FlowHotspot::none;
    controller->setTouchesLocked(false);
    setNeedsDisplay();
    sendActions(isInside(touches) ? UIControlEvents::touchUpInside : UIControlEvents::touchUpOutside);
}

void VelmoraFlowView::endOn(FlowHotspot hotspot)
{
    releasePressedState(hotspot);
    switch (hotspot) {
    case FlowHotspot::rangeLeft:
    case FlowHotspot::rangeRight: setRange(); break;
    case FlowHotspot::operation: commitOperationMode(); break;
    default: break;
    }
}

void VelmoraFlowView::commitOperationMode()
{
    // The notes in range depend on the mode, and only those bands are sent.
    sendParameter(kOperationMode, static_cast<float>(baseClass_.valueOperationMode));
    setRange();
    setBands();
}

void VelmoraFlowView::releasePressedState(FlowHotspot hotspot)
{
    if (bool* flag = pressedFlag(baseClass_, hotspot)) {
        *flag = false;
    }
    if (hotspot == FlowHotspot::drawer) {
        baseClass_.isHandleSelected.fill(false);
    }
}

void VelmoraFlowView::touchesCancelled(const Touches&, UIEvent*)
{
    const std::shared_ptr<ViewControllerLink> controller = viewController();
    if (!controller) {
        return;
    }
    controller->setTouchesLocked(false);
    releasePressedState(hotspot_);
    setNeedsDisplay();
    sendActions(UIControlEvents::touchCancel);
}

// Drags

void VelmoraFlowView::touchesMoved(const Touches& touches, UIEvent*)
{
    const UITouch* touch = firstTouch(touches);
    if (!viewController() || !delegate() || hotspot_ == FlowHotspot::none || touch == nullptr) {
        return;
    }
    dragTo(designPoint(touch->location(*this)));
    setNeedsDisplay();
    sendActions(UIControlEvents::valueChanged);
}

void VelmoraFlowView::dragTo(CGPoint location)
{
    using enum FlowHotspot;
    const CGFloat dx = (location.x - startLocation_.x) * scaler_;
    const CGFloat dy = (location.y - startLocation_.y) * scaler_;
    const auto knob = [&](CGFloat drag) { return FlowPanelGeometry::knobValue(savedValue_, dx, dy, drag); };
    switch (hotspot_) {
    case drawer: paintBand(location); break;
    case flow: placeCrossHair(location); break;
    case slider:
        baseClass_.valueMix = knob(FlowPanelGeometry::mixDrag);
        sendParameter(kMix, static_cast<float>(baseClass_.valueMix));
        break;
    case speed:
        baseClass_.valueSpeedMode = static_cast<std::int64_t>(knob(FlowPanelGeometry::optionDrag) * topSpeedMode);
        sendOption(kOptionSpeed, static_cast<float>(baseClass_.valueSpeedMode));
        break;
    case operation:
        baseClass_.valueOperationMode =
            static_cast<std::int64_t>(knob(FlowPanelGeometry::optionDrag) * topOperationMode);
        break;
    case rangeLeft: dragRangeLeft(knob(FlowPanelGeometry::rangeDrag)); break;
    case rangeRight: dragRangeRight(knob(FlowPanelGeometry::rangeDrag)); break;
    default: break;
    }
}

void VelmoraFlowView::paintBand(CGPoint location)
{
    const int index = FlowPanelGeometry::bandAt(location.x);
    const CGFloat value = FlowPanelGeometry::bandValueAt(location.y);
    if (index != lastIndex_) {
        baseClass_.isHandleSelected.fill(false);
        baseClass_.isHandleSelected[index] = true;
    }
    // A fast stroke skips bands between two moves; they take this value.
    closeGaps(index, static_cast<int>(lastIndex_), value);
    baseClass_.valueHandle[index] = value;
    setBand(index, static_cast<float>(value));
    lastIndex_ = index;
}

// The readout follows every move, also one that stops the handle at the
// other end, so that it names the ends the range really has.
void VelmoraFlowView::dragRangeLeft(CGFloat value)
{
    baseClass_.valueRangeLeft =
        value > baseClass_.valueRangeRight ? baseClass_.valueRangeRight : FlowPanelGeometry::onGrid(value);
    writeRangeReadout();
}

void VelmoraFlowView::dragRangeRight(CGFloat value)
{
    // Snapped down, the end could land below a low end that a host put off
    // the grid; the ends may meet but never cross.
    baseClass_.valueRangeRight = value < baseClass_.valueRangeLeft
                                     ? baseClass_.valueRangeLeft
                                     : std::max(FlowPanelGeometry::onGrid(value), baseClass_.valueRangeLeft);
    writeRangeReadout();
}

void VelmoraFlowView::writeRangeReadout()
{
    const int left = rangeKey(baseClass_.valueRangeLeft);
    const int right = rangeKey(baseClass_.valueRangeRight);
    const auto& names = baseClass_.noteNames.values;
    baseClass_.labelDisplay = "Range from: " + std::to_string(left) + " (" + names[left] + ")\n to: " +
                              std::to_string(right) + " (" + names[right] + ")";
}
