#pragma once

#include "../audiounit/AudioUnitTestSupport.h"
#include "../support/TemporaryFolder.h"
#include "AUParameterTree.h"
#include "AudioUnitViewController.h"
#include "Console.h"
#include "ManualClock.h"
#include "UIView.h"
#include "UIWindow.h"
#include "VelmoraFlowView.h"
#include "WaterfallView.h"
#include "ZUV_VELMORA_Quillmere_Extension_AudioUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

// A controller on test time, whose audio unit writes its documents into a
// folder of the test's own.
class ControllerFixture : public ::testing::Test {
protected:
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> createUnit()
    {
        return std::static_pointer_cast<ZUV_VELMORA_Quillmere_Extension_AudioUnit>(
            controller->createAudioUnit(kEffect));
    }

    // A unit and a loaded view, connected, with the main queue drained.
    std::shared_ptr<ZUV_VELMORA_Quillmere_Extension_AudioUnit> connectUnit()
    {
        auto made = createUnit();
        controller->view();
        clock.advance(0);
        return made;
    }

    // Shows the controller's view in a window of the panel's natural size.
    std::shared_ptr<UIWindow> showInWindow()
    {
        auto window = std::make_shared<UIWindow>(CGRect(0, 0, 600, 660));
        window->addSubview(controller->view());
        return window;
    }

    static AUParameter& treeParameter(const ZUV_VELMORA_Quillmere_Extension_AudioUnit& unit,
                                      AUParameterAddress address)
    {
        return *unit.parameterTree()->parameterWithAddress(address);
    }

    static long count(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::count(lines.begin(), lines.end(), line);
    }

    TemporaryFolder home;
    ScopedEnvironment dataHome{"XDG_DATA_HOME", home.path().string()};
    ManualClock clock;
    Console::Capture capture;
    std::shared_ptr<AudioUnitViewController> controller = std::make_shared<AudioUnitViewController>();
};
