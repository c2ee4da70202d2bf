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

namespace {

void askForDisplay(UIView& view)
{
    view.setNeedsDisplay();
    for (const auto& subview : view.subviews()) {
        askForDisplay(*subview);
    }
}

} // namespace

// Only what looks different is repainted: nothing after redraws that paint
// the same pictures, the panel but not the window around it after a mode
// button; and the display shows what painting the whole window gives.
TEST_F(ShellPictures, OnlyChangedAreasAreRepaintedAndTheDisplayShowsTheWholeWindow)
{
    click(shell_->canvas(), {52, 22});
    pumpFor(0.3);
    const std::size_t shown = shell_->repaintedArea();
    askForDisplay(*UIApplication::shared().delegate()->window);
    pumpFor(0.3);
    EXPECT_EQ(shell_->repaintedArea(), shown);

    const auto& panel = screen_->children().front()->view()->subviews().front();
    const CGPoint topLeft = panel->convertToRoot({0, 0});
    const CGPoint bottomRight = panel->convertToRoot({panel->bounds().width(), panel->bounds().height()});
    const double panelArea = (bottomRight.x - topLeft.x + 4) * (bottomRight.y - topLeft.y + 4);
    const std::size_t repaints = shell_->repaintCount();
    click(shell_->canvas(), {433, 733});
    pumpFor(0.3);
    // The panel's pictures lie between pixels, so each repaint holds it whole,
    // and nothing but it.
    ASSERT_GT(shell_->repaintCount(), repaints);
    EXPECT_LE(double(shell_->repaintedArea() - shown), double(shell_->repaintCount() - repaints) * panelArea);

    cairo_surface_t* whole = shell_->snapshot();
    ASSERT_NE(whole, nullptr);
    GdkPixbuf* displayed = gdk_pixbuf_get_from_window(gtk_widget_get_window(shell_->canvas()), 0, 0, 1024, 768);
    ASSERT_NE(displayed, nullptr);
    const int channels = gdk_pixbuf_get_n_channels(displayed);
    const int stride = gdk_pixbuf_get_rowstride(displayed);
    const guchar* pixels = gdk_pixbuf_read_pixels(displayed);
    int differing = 0;
    for (int y = 0; y < 768; ++y) {
        for (int x = 0; x < 1024; ++x) {
            const guchar* pixel = pixels + y * stride + x * channels;
            differing += pixelAt(whole, x, y) != std::array<int, 3>{pixel[0], pixel[1], pixel[2]};
        }
    }
    EXPECT_EQ(differing, 0);
    g_object_unref(displayed);
    cairo_surface_destroy(whole);
}

// A window past what the display takes as one picture keeps the application
// running on a picture of the main screen's layout alone; a window larger than
// the layout shows it as at its own size, and the background beyond it.
TEST_F(ShellPictures, AWindowOfAnySizeKeepsAPictureOfTheLayoutAndShowsTheBackgroundBeyond)
{
    click(shell_->canvas(), {52, 22});
    pumpFor(0.3);
    cairo_surface_t* layout = shell_->snapshot();
    ASSERT_NE(layout, nullptr);
    const auto resize = [&](int width, int height) {
        gtk_window_resize(GTK_WINDOW(shell_->window()), width, height);
        ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_allocated_height(shell_->canvas()) == height; }));
        pumpFor(0.3);
    };
    resize(32767, 16400);
    // Give or take the pixel all round that a picture between pixels touches.
    EXPECT_LE(shell_->pictureSize().width, 1024 + 1);
    EXPECT_LE(shell_->pictureSize().height, 768 + 1);

    resize(1100, 800);
    cairo_surface_t* shot = shell_->snapshot();
    ASSERT_NE(shot, nullptr);
    int differing = 0;
    for (int y = 0; y < 800; ++y) {
        for (int x = 0; x < 1100; ++x) {
            const bool inLayout = x < 1024 && y < 768;
            differing += pixelAt(shot, x, y) != (inLayout ? pixelAt(layout, x, y) : std::array<int, 3>{28, 28, 28});
        }
    }
    EXPECT_EQ(differing, 0);
    cairo_surface_destroy(shot);
    cairo_surface_destroy(layout);
}
