#pragma once

#include "FakeViewController.h"
#include "RecordingDelegate.h"

#include "Console.h"
#include "ScaleRecords.h"
#include "UITouch.h"
#include "VelmoraFlowView.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

// A flow view wired to fakes. At the panel's design size (the default) view
// points are design units once show() has run a draw pass.
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
    void end() { view->touchesEnded({touch}, nullptr); }
    void cancel() { view->touchesCancelled({touch}, nullptr); }
    void tap(CGFloat x, CGFloat y)
    {
        begin(x, y);
        end();
    }

    std::vector<Sent> takeSent() { return std::exchange(delegate->sent, {}); }
    // The band sends of one processing mode for `notes`, in their order.
    static std::vector<Sent> bands(int mode, const std::vector<int>& notes, float value)
    {
        std::vector<Sent> sends;
        for (const int note : notes) {
            sends.push_back(parameter(1000 * (mode + 1) + note, value));
        }
        return sends;
    }
    static std::vector<int> notes(int first, int last)
    {
        std::vector<int> list;
        for (int note = first; note <= last; ++note) {
            list.push_back(note);
        }
        return list;
    }

    FakeAudioUnit unit;
    std::shared_ptr<FakeViewController> controller = std::make_shared<FakeViewController>();
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();
    std::shared_ptr<VelmoraFlowView> view = std::make_shared<VelmoraFlowView>(CGRect(0, 0, 600, 660));
    std::shared_ptr<UITouch> touch;
    std::vector<UIControlEvents> events;
    Console::Capture console;
};
