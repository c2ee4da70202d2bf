#pragma once

#include "FlowViewFakes.h"

#include "Console.h"
#include "ScaleRecords.h"
#include "UITouch.h"
#include "VelmoraFlowView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

// A flow view of the panel's design size (so view points are design units)
// wired to recording fakes, with one touch at a time.
class FlowViewTouchFixture : public ::testing::Test {
protected:
    FlowViewTouchFixture()
    {
        resetScaleRecords();
        controller->unit = &unit;
        view->setViewController(controller);
        view->setDelegate(delegate);
        for (const UIControlEvents event : {UIControlEvents::touchDown, UIControlEvents::valueChanged,
                                            UIControlEvents::touchUpInside, UIControlEvents::touchUpOutside,
                                            UIControlEvents::touchCancel}) {
            view->addTarget([this, event](UIControl&) { events.push_back(event); }, event);
        }
    }
    ~FlowViewTouchFixture() override { resetScaleRecords(); }

    VelmoraFlowViewBase& panel() { return view->baseClass(); }

    // A draw pass, as the display would run it.
    void show() { view->draw(view->bounds()); }

    void begin(CGFloat x, CGFloat y)
    {
        touch = std::make_shared<UITouch>(view, CGPoint{x, y});
        view->touchesBegan({touch}, nullptr);
    }
    void move(CGFloat x, CGFloat y)
    {
        touch->moveTo({x, y}, UITouch::Phase::moved);
        view->touchesMoved({touch}, nullptr);
    }
    void end()
    {
        touch->moveTo(touch->location(*view), UITouch::Phase::ended);
        view->touchesEnded({touch}, nullptr);
    }
    void cancel() { view->touchesCancelled({touch}, nullptr); }
    void tap(CGFloat x, CGFloat y)
    {
        begin(x, y);
        end();
    }

    // The band sends of one processing mode, as the view makes them.
    static std::vector<Sent> bandSends(int mode, const std::vector<int>& notes, float value)
    {
        std::vector<Sent> sends;
        for (const int note : notes) {
            sends.push_back(Sent::parameter(1000 * (mode + 1) + note, value));
        }
        return sends;
    }

    std::vector<Sent> takeSent() { return std::exchange(delegate->sent, {}); }

    FakeAudioUnit unit;
    std::shared_ptr<FakeController> controller = std::make_shared<FakeController>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<VelmoraFlowView> view = std::make_shared<VelmoraFlowView>(CGRect(0, 0, 600, 660));
    std::shared_ptr<UITouch> touch;
    std::vector<UIControlEvents> events;
    Console::Capture console;
};
