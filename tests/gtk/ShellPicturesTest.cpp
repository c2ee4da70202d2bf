#include "LaunchedApplication.h"

#include "../pictures/ReferencePictures.h"

namespace {

// The application's window as GTK shows it, compared with reference
// pictures kept beside those of the headless picture tests.
class ShellPictures : public LaunchedApplication {
protected:
    void expectWindow(const std::string& name)
    {
        const auto shot = UIImage::adopt(shell_->snapshot(), 1);
        ASSERT_TRUE(shot);
        expectReferencePicture(*shot, name);
    }
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
