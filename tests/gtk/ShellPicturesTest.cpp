#include "ShellTestSupport.h"

#include "../pictures/ReferencePictures.h"
#include "../support/TemporaryFolder.h"

#include "AppDelegate.h"
#include "GtkApplicationShell.h"
#include "UIApplication.h"
#include "ViewController.h"

namespace {

// The application's window as GTK shows it, compared with reference
// pictures kept beside those of the headless picture tests.
class ShellPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gtkReady());
        UIApplication::shared().launch([] { return std::make_shared<AppDelegate>(); },
                                       [] { return std::make_shared<ViewController>(); });
        shell_ = std::make_unique<GtkApplicationShell>(UIApplication::shared().delegate()->window, "Shell pictures");
        shell_->show();
        screen_ = std::dynamic_pointer_cast<ViewController>(
            UIApplication::shared().delegate()->window->rootViewController());
        ASSERT_TRUE(screen_);
        ASSERT_TRUE(pumpUntil([&] {
            return !screen_->children().empty() && gtk_widget_get_allocated_width(shell_->canvas()) == 1024;
        }));
    }
    void TearDown() override
    {
        shell_.reset();
        screen_.reset();
        UIApplication::shared().terminate();
    }

    void expectWindow(const std::string& name)
    {
        const auto shot = UIImage::adopt(shell_->snapshot(), 1);
        ASSERT_TRUE(shot);
        expectReferencePicture(*shot, name);
    }

    const TemporaryFolder home_;
    const ScopedEnvironment data_{"XDG_DATA_HOME", (home_.path() / "data").string()};
    const ScopedEnvironment config_{"XDG_CONFIG_HOME", (home_.path() / "config").string()};
    std::unique_ptr<GtkApplicationShell> shell_;
    std::shared_ptr<ViewController> screen_;
};

} // namespace

// Stopped, the panel hidden and then shown, and after the RIGHT mode button of the
// panel was pressed.
TEST_F(ShellPictures, MainScreenWithAndWithoutThePanel)
{
    pumpFor(0.2);
    expectWindow("shell-main-screen");
    click(shell_->canvas(), {52, 22});
    pumpFor(0.3);
    expectWindow("shell-panel-shown");
    click(shell_->canvas(), {433, 733});
    pumpFor(0.3);
    expectWindow("shell-panel-right-mode");
}
