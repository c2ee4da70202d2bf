#include "AUViewController.h"
#include "UIView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using ::testing::ElementsAre;

namespace {

class RecordingController : public AUViewController {
public:
    std::vector<std::string> calls;
    bool makesView = true;

protected:
    void loadView() override
    {
        calls.push_back("loadView");
        if (makesView) {
            setView(std::make_shared<UIView>(CGRect(0, 0, 600, 660)));
        }
    }
    void viewDidLoad() override
    {
        AUViewController::viewDidLoad();
        calls.push_back("viewDidLoad " + std::to_string(view()->bounds().width()));
    }
};

} // namespace

TEST(UIViewController, LoadsItsViewOnceOnFirstUse)
{
    const auto controller = std::make_shared<RecordingController>();
    EXPECT_FALSE(controller->isViewLoaded());
    const auto view = controller->view();
    EXPECT_TRUE(controller->isViewLoaded());
    EXPECT_EQ(controller->view(), view);
    EXPECT_THAT(controller->calls, ElementsAre("loadView", "viewDidLoad 600.000000"));

    // A loading that makes no view leaves a plain one.
    const auto bare = std::make_shared<RecordingController>();
    bare->makesView = false;
    EXPECT_TRUE(bare->view());
    EXPECT_THAT(bare->calls, ElementsAre("loadView", "viewDidLoad 0.000000"));
}
