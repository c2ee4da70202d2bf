#include "LaunchedApplication.h"

#include <gmock/gmock.h>

#include "../support/TemporaryFolder.h"

#include "AUViewController.h"
#include "AVAudioUnit.h"
#include "AppDelegate.h"
#include "Console.h"
#include "GtkApplicationShell.h"
#include "GtkWebViewEngine.h"
#include "HelpViewController.h"
#include "NullAudioOutput.h"
#include "UIApplication.h"
#include "ViewController.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace {

// Plays nowhere at real-time pace, as the application's fallback does, and
// measures what it was given.
class MeasuringOutput : public NullAudioOutput {
public:
    void start(Renderer renderer) override
    {
        NullAudioOutput::start([this, renderer](AUAudioFrameCount frames, AudioBufferList& output) {
            renderer(frames, output);
            const auto* samples = static_cast<const float*>(output.mBuffers[0].mData);
            float peak = 0;
            for (AUAudioFrameCount frame = 0; frame < frames; ++frame) {
                peak = std::max(peak, std::fabs(samples[frame]));
            }
            peak_.store(std::max(peak_.load(std::memory_order_relaxed), peak), std::memory_order_relaxed);
            frames_.fetch_add(frames, std::memory_order_relaxed);
        });
    }
    void stop() override
    {
        NullAudioOutput::stop();
        stopped_ = true;
    }

    std::int64_t frames() const { return frames_.load(std::memory_order_relaxed); }
    float peak() const { return peak_.load(std::memory_order_relaxed); }
    bool stopped() const { return stopped_; }

private:
    std::atomic<std::int64_t> frames_ = 0;
    std::atomic<float> peak_ = 0;
    std::atomic<bool> stopped_ = false;
};

class ShellApplication : public LaunchedApplication {
protected:
    // Where a point of the flow panel's 600 x 660 design canvas is in the
    // window: the flow view (the panel's topmost view) fits the canvas into
    // its bounds, centred.
    CGPoint onPanel(CGPoint design) const
    {
        const auto& root = screen_->children().front()->view();
        const auto& flow = root->subviews().front()->subviews().back();
        const CGRect area = flow->bounds();
        const CGFloat scale = std::min(area.width() / 600, area.height() / 660);
        return flow->convertToRoot({(area.width() - 600 * scale) / 2 + design.x * scale,
                                    (area.height() - 660 * scale) / 2 + design.y * scale});
    }

    std::shared_ptr<AUParameter> processingMode() const
    {
        auto& engine = screen_->audioUnitManager()->auEngine()->engine();
        const auto effect =
            std::dynamic_pointer_cast<AVAudioUnit>(engine.inputConnectionSource(*engine.mainMixerNode(), 0));
        return effect ? effect->auAudioUnit()->parameterTree()->parameterWithAddress(103) : nullptr;
    }

    // The panel's view, which pinches scale.
    std::shared_ptr<UIView> panel() const { return screen_->children().front()->view()->subviews().front(); }
};

// Whether a top-level window of the display bears `title`.
bool topLevelTitled(Display* display, const std::string& title)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0)
        return false;
    bool found = false;
    for (unsigned index = 0; index < count && !found; ++index) {
        char* name = nullptr;
        if (XFetchName(display, children[index], &name) != 0 && name != nullptr) {
            found = title == name;
            XFree(name);
        }
    }
    XFree(children);
    return found;
}

} // namespace

// A person's first minute: the unit button shows the effect's panel, play
// runs a bundle sound through the effect, a mode button changes the mode;
// closing the window ends everything in order.
TEST_F(ShellApplication, UnitButtonShowsThePanelPlayRunsTheEffectAndAModeButtonSelectsItsMode)
{
    EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(shell_->window())), "Shell test");
    EXPECT_FALSE(screen_->playButton()->isHidden());
    EXPECT_TRUE(screen_->stopButton()->isHidden());
    EXPECT_TRUE(screen_->pluginView()->isHidden());

    click(shell_->canvas(), {52, 22});
    EXPECT_FALSE(screen_->pluginView()->isHidden());

    const auto output = std::make_shared<MeasuringOutput>();
    screen_->audioUnitManager()->auEngine()->engine().setOutputDevice(output);
    click(shell_->canvas(), {340, 22});
    ASSERT_TRUE(pumpUntil([&] { return !screen_->stopButton()->isHidden(); }));
    EXPECT_TRUE(screen_->playButton()->isHidden());
    // The effect delays by its 4096-frame window; a quarter second more is sound.
    ASSERT_TRUE(pumpUntil([&] { return output->frames() > 4096 + 12000; }));
    EXPECT_GT(output->peak(), 1e-3F);

    pumpFor(0.1);
    cairo_surface_t* shot = shell_->snapshot();
    ASSERT_NE(shot, nullptr);
    keepSurface(shot);
    const auto pixel = [&](CGPoint point) {
        return pixelAt(shot, int(std::floor(point.x)), int(std::floor(point.y)));
    };
    // The window behind the views, a button of the main screen, the panel's
    // plate beside its title, the selected LINKED button (the accent at a
    // fifth over white) and the unselected LEFT button.
    EXPECT_TRUE(near(pixel({600, 20}), {28, 28, 28}));
    EXPECT_TRUE(near(pixel({12, 30}), {219, 219, 219}));
    EXPECT_TRUE(near(pixel(onPanel({12, 40})), {255, 255, 255}));
    EXPECT_TRUE(near(pixel(onPanel({40, 623})), {213, 236, 243}));
    EXPECT_TRUE(near(pixel(onPanel({118, 623})), {255, 255, 255}));
    cairo_surface_destroy(shot);

    const auto mode = processingMode();
    ASSERT_TRUE(mode);
    EXPECT_EQ(mode->value(), 0);
    click(shell_->canvas(), onPanel({150, 628}));
    EXPECT_TRUE(pumpUntil([&] { return mode->value() == 1; }));

    gtk_window_close(GTK_WINDOW(shell_->window()));
    ASSERT_TRUE(pumpUntil([&] { return shell_->window() == nullptr; }));
    screen_.reset();
    UIApplication::shared().terminate();
    EXPECT_TRUE(output->stopped());
}

// In a window larger than the layout, the panel dragged past the layout
// answers a touch where it is drawn there: its LEFT button is selected.
TEST_F(ShellApplication, ThePanelDraggedPastTheLayoutAnswersATouchWhereItIsDrawn)
{
    gtk_window_resize(GTK_WINDOW(shell_->window()), 1280, 1000);
    ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_allocated_height(shell_->canvas()) == 1000; }));
    click(shell_->canvas(), {52, 22});
    drag(shell_->canvas(), {100, 400}, {300, 650});
    const CGPoint left = onPanel({118, 623});
    ASSERT_GT(left.y, 768);
    click(shell_->canvas(), left);
    pumpFor(0.3);
    cairo_surface_t* shot = shell_->snapshot();
    ASSERT_NE(shot, nullptr);
    keepSurface(shot);
    EXPECT_TRUE(near(pixelAt(shot, int(left.x), int(left.y)), {213, 236, 243}));
    cairo_surface_destroy(shot);
}

// Each Ctrl+scroll step scales the panel at once, and the scaled panel
// answers the first touch where it is drawn: SIDE is touched (no band is)
// and lights up.
TEST_F(ShellApplication, CtrlScrollScalesThePanelAtEachStepAndItsFirstTouchLandsWhereItIsDrawn)
{
    click(shell_->canvas(), {52, 22});
    const CGFloat width = panel()->frame().width();
    const CGPoint middle = onPanel({300, 330});
    zoomStep(shell_->canvas(), middle, GDK_SCROLL_DOWN);
    EXPECT_NEAR(panel()->frame().width(), width / 1.1, 1e-3);
    zoomStep(shell_->canvas(), middle, GDK_SCROLL_DOWN);
    zoomStep(shell_->canvas(), middle, GDK_SCROLL_DOWN);
    const Console::Capture capture;
    click(shell_->canvas(), onPanel({384, 629}));
    EXPECT_THAT(capture.lines(), ::testing::ElementsAre("side"));
    cairo_surface_t* shot = shell_->snapshot();
    ASSERT_NE(shot, nullptr);
    keepSurface(shot);
    const CGPoint lit = onPanel({352, 623});
    EXPECT_TRUE(near(pixelAt(shot, int(lit.x), int(lit.y)), {213, 236, 243}));
    cairo_surface_destroy(shot);
}

// The help screen covers the main screen with its manual in a WebKit view,
// and its exit button brings the main screen back, again and again.
TEST_F(ShellApplication, HelpButtonShowsTheHelpScreenOverTheMainScreenUntilItsExitButton)
{
    // Nothing asks for a redraw while the panel is hidden and nothing plays:
    // the window is not repainted.
    pumpFor(0.1);
    const auto repaints = shell_->repaintCount();
    pumpFor(0.3);
    EXPECT_EQ(shell_->repaintCount(), repaints);

    click(shell_->canvas(), {244, 22});
    const auto help = std::dynamic_pointer_cast<HelpViewController>(screen_->presentedViewController());
    ASSERT_TRUE(help);
    const auto engine = std::dynamic_pointer_cast<GtkWebViewEngine>(help->webView()->engine());
    ASSERT_TRUE(engine);
    GtkWidget* web = engine->widget();
    ASSERT_TRUE(pumpUntil([&] { return gtk_widget_get_allocated_width(web) > 1; }));
    EXPECT_TRUE(gtk_widget_get_visible(web));
    GtkAllocation placed;
    gtk_widget_get_allocation(web, &placed);
    const CGRect frame = help->webView()->frame();
    EXPECT_EQ(placed.x, int(frame.minX()));
    EXPECT_EQ(placed.y, int(frame.minY()));
    EXPECT_EQ(placed.width, int(frame.width()));
    EXPECT_EQ(placed.height, int(frame.height()));

    // Over the help screen the main screen's unit button is out of reach
    // (its right end lies beside the exit button).
    click(shell_->canvas(), {92, 22});
    EXPECT_TRUE(screen_->pluginView()->isHidden());
    click(shell_->canvas(), {48, 22});
    EXPECT_FALSE(screen_->presentedViewController());
    EXPECT_EQ(gtk_widget_get_parent(web), nullptr);
    // Every later opening shows the manual through the first one's ephemeral
    // web context, and from the third on in the second one's WebKit view
    // (held here, as the first engine is, so that no other takes its place).
    EXPECT_TRUE(webkit_web_context_is_ephemeral(engine->context()));
    std::unique_ptr<GtkWidget, decltype(&g_object_unref)> reused(nullptr, g_object_unref);
    for (int opening = 0; opening < 10; ++opening) {
        click(shell_->canvas(), {244, 22});
        const auto shown = std::dynamic_pointer_cast<HelpViewController>(screen_->presentedViewController());
        ASSERT_TRUE(shown);
        const auto shownEngine = std::dynamic_pointer_cast<GtkWebViewEngine>(shown->webView()->engine());
        EXPECT_EQ(shownEngine->context(), engine->context());
        GtkWidget* browser = gtk_stack_get_visible_child(GTK_STACK(shownEngine->widget()));
        if (!reused)
            reused.reset(GTK_WIDGET(g_object_ref(browser)));
        EXPECT_EQ(browser, reused.get());
        EXPECT_TRUE(pumpUntil(
            [&] { return shownEngine->url() == *Bundle::main().url("manual", "pdf") && !shownEngine->isLoading(); }));
        click(shell_->canvas(), {48, 22});
    }
    click(shell_->canvas(), {52, 22});
    EXPECT_FALSE(screen_->pluginView()->isHidden());

    // Closing the window over the help screen keeps its web view's widget
    // for its engine.
    click(shell_->canvas(), {244, 22});
    const auto again = std::dynamic_pointer_cast<HelpViewController>(screen_->presentedViewController());
    ASSERT_TRUE(again);
    GtkWidget* shown = std::dynamic_pointer_cast<GtkWebViewEngine>(again->webView()->engine())->widget();
    gtk_window_close(GTK_WINDOW(shell_->window()));
    ASSERT_TRUE(pumpUntil([&] { return shell_->window() == nullptr; }));
    EXPECT_TRUE(GTK_IS_WIDGET(shown));
    EXPECT_EQ(gtk_widget_get_parent(shown), nullptr);
}

// Started where there is no display, the application says so on standard
// error and ends with 1 instead of crashing.
TEST(ShellApplicationEntry, WithoutADisplayTheApplicationSaysSoAndEndsWithOne)
{
    const std::string command =
        "env -u DISPLAY -u WAYLAND_DISPLAY '" VELMORA_APPLICATION "' 2>&1 >/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string errors;
    char buffer[256];
    while (const std::size_t read = fread(buffer, 1, sizeof buffer, pipe)) {
        errors.append(buffer, read);
    }
    const int status = pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_THAT(errors, ::testing::HasSubstr("ZUV_VELMORA_Quillmere: ERROR: No display could be opened (neither "
                                             "DISPLAY nor WAYLAND_DISPLAY leads to one); the application needs a "
                                             "display to show its window.\n"));
}

// The window bears the product's name as people write it, not the
// executable's file name.
TEST(ShellApplicationEntry, TheApplicationsWindowIsTitledWithTheProductsName)
{
    const TemporaryFolder home;
    const ScopedEnvironment data("XDG_DATA_HOME", (home.path() / "data").string());
    const ScopedEnvironment config("XDG_CONFIG_HOME", (home.path() / "config").string());
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    char* arguments[] = { const_cast<char*>(VELMORA_APPLICATION), nullptr };
    pid_t application = 0;
    const int spawned = posix_spawn(&application, VELMORA_APPLICATION, &quiet, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&quiet);
    ASSERT_EQ(spawned, 0);

    Display* display = XOpenDisplay(nullptr);
    const bool titled =
        display != nullptr && pumpUntil([&] { return topLevelTitled(display, "ZUV VELMORA Quillmere"); }, 30);
    if (display != nullptr)
        XCloseDisplay(display);
    ::kill(application, SIGTERM);
    ::waitpid(application, nullptr, 0);
    EXPECT_TRUE(titled);
}
