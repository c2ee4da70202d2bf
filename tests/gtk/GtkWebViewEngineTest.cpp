#include "../support/DrawnImages.h"
#include "../support/TemporaryFolder.h"

#include "Console.h"
#include "GtkWebViewEngine.h"
#include "HelpViewController.h"

#include <cairo-pdf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

using PDFViewer = GtkWebViewEngine::PDFViewer;

// Runs the GTK main loop until `done` holds or a few seconds have passed.
bool runUntil(const std::function<bool()>& done, double seconds = 8)
{
    const gint64 end = g_get_monotonic_time() + static_cast<gint64>(seconds * G_USEC_PER_SEC);
    while (!done() && g_get_monotonic_time() < end) {
        g_main_context_iteration(nullptr, FALSE);
    }
    return done();
}

// A one-page A4 PDF (sizes in points): a heading and a black bar.
constexpr double kPageWidth = 595;
constexpr double kPageHeight = 842;
void writeManual(const std::filesystem::path& path)
{
    cairo_surface_t* surface = cairo_pdf_surface_create(path.c_str(), kPageWidth, kPageHeight);
    cairo_t* cairo = cairo_create(surface);
    cairo_set_font_size(cairo, 48);
    cairo_move_to(cairo, 60, 120);
    cairo_show_text(cairo, "Manual");
    cairo_rectangle(cairo, 60, 200, 475, 120);
    cairo_fill(cairo);
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
}

// A page of text darkens more than this share of the view; a viewer that
// shows nothing yet, none.
constexpr double kShownDarkShare = 0.005;

// The share of near-black pixels of `image` below its top rows, where a
// viewer's own tool bar might sit.
double darkShare(const UIImage& image)
{
    constexpr int kToolBar = 48;
    long dark = 0;
    for (int y = kToolBar; y < image.pixelHeight(); ++y) {
        for (int x = 0; x < image.pixelWidth(); ++x) {
            const auto pixel = image.pixel(x, y);
            dark += std::max({pixel.red, pixel.green, pixel.blue}) < 48;
        }
    }
    return static_cast<double>(dark) / (image.pixelWidth() * (image.pixelHeight() - kToolBar));
}

// What `window` draws, whatever covers it on the display.
std::shared_ptr<UIImage> screenshot(GtkWidget* window)
{
    const int width = gtk_widget_get_allocated_width(window);
    const int height = gtk_widget_get_allocated_height(window);
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cairo = cairo_create(image);
    gtk_container_check_resize(GTK_CONTAINER(window));
    gtk_widget_draw(window, cairo);
    cairo_destroy(cairo);
    return UIImage::adopt(image, 1);
}

// What the help screen prints when it decides a navigation to `url` and its
// response.
std::vector<std::string> decided(const URL& url)
{
    return {"navigationAction: ", url.absoluteString(), "navigationResponse: ", url.absoluteString()};
}

// A press and release of the first button at (100, 100) of `widget`, as a
// person clicking there.
void click(GtkWidget* widget)
{
    for (const auto type : {GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE}) {
        GdkEvent* event = gdk_event_new(type);
        event->button.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(widget)));
        event->button.x = event->button.y = 100;
        event->button.button = 1;
        gdk_event_set_device(event, gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_display_get_default())));
        gtk_main_do_event(event);
        gdk_event_free(event);
    }
}

// Keeps the first navigation answer for later.
struct HoldingDelegate : WKNavigationDelegate {
    void webView(WKWebView&, const WKNavigationAction&,
                 const std::function<void(WKNavigationActionPolicy)>& decisionHandler) override
    {
        held = decisionHandler;
    }
    std::function<void(WKNavigationActionPolicy)> held;
};

// A help screen whose web view shows through a GtkWebViewEngine in a window.
class GtkWebViewEngineTest : public ::testing::Test {
protected:
    GtkWebViewEngineTest()
    {
        std::filesystem::create_directories(folder.path() / "Resources");
        writeManual(folder.path() / "Resources" / "manual.pdf");
        std::ofstream(folder.path() / "notes.txt") << "notes";
        std::ofstream(folder.path() / "title.js") << "document.title = 'resolved';";
        std::ofstream(folder.path() / "other.html") << "<p>other</p>";
    }
    ~GtkWebViewEngineTest() override { gtk_widget_destroy(window); }

    void openWindow(const std::shared_ptr<WKWebView>& webView, PDFViewer viewer = PDFViewer::automatic)
    {
        engine = std::make_shared<GtkWebViewEngine>(*webView, viewer);
        webView->setEngine(engine);
        gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
        gtk_container_add(GTK_CONTAINER(window), engine->widget());
        gtk_widget_show_all(window);
    }
    // The help screen decides what the engine shows.
    void openHelpWindow(PDFViewer viewer = PDFViewer::automatic)
    {
        help->view();
        openWindow(help->webView(), viewer);
    }
    bool loaded(const URL& url) const
    {
        return runUntil([&] { return !engine->isLoading() && engine->url() == url; });
    }
    URL fileURL(const char* name) const { return URL::fileURL(folder.path() / name); }

    bool displayed = gtk_init_check(nullptr, nullptr);
    TemporaryFolder folder;
    // The test runs from a bundle that holds the application's own manual.
    Bundle manualBundle = Bundle::main();
    std::shared_ptr<HelpViewController> help = std::make_shared<HelpViewController>(manualBundle);
    std::shared_ptr<UIViewController> presenter = std::make_shared<UIViewController>();
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    std::shared_ptr<GtkWebViewEngine> engine;
};

} // namespace

class GtkWebViewEnginePDFTest : public GtkWebViewEngineTest, public ::testing::WithParamInterface<PDFViewer> {};

TEST_P(GtkWebViewEnginePDFTest, ShowsTheManualAndRefusesOtherFiles)
{
    openHelpWindow(GetParam());
    const URL manual = *manualBundle.url("manual", "pdf");
    {
        const Console::Capture capture;
        presenter->present(help, true, {});
        ASSERT_TRUE(loaded(manual));
        EXPECT_EQ(capture.lines(), decided(manual));
    }
    std::shared_ptr<UIImage> shown;
    EXPECT_TRUE(runUntil([&] { return darkShare(*(shown = screenshot(window))) > kShownDarkShare; }));
    keepDrawnImage(*shown);

    const Console::Capture capture;
    help->webView()->load(URLRequest(fileURL("notes.txt")));
    EXPECT_TRUE(runUntil([&] { return capture.lines() == decided(fileURL("notes.txt")) && !engine->isLoading(); }));
    EXPECT_EQ(engine->url(), manual);
}

INSTANTIATE_TEST_SUITE_P(PDFViewers, GtkWebViewEnginePDFTest,
                         ::testing::Values(PDFViewer::webKit, PDFViewer::documentView), [](const auto& info) {
                             return info.param == PDFViewer::webKit ? "WebKit" : "DocumentView";
                         });

TEST_F(GtkWebViewEngineTest, TheDocumentViewScrollsThroughItsPagesScaledToItsWidth)
{
    openHelpWindow(PDFViewer::documentView);
    const URL pdf = URL::fileURL(folder.path() / "Resources" / "manual.pdf");
    help->webView()->load(URLRequest(pdf));
    ASSERT_TRUE(loaded(pdf));
    ASSERT_TRUE(runUntil([&] { return darkShare(*screenshot(window)) > kShownDarkShare; }));
    GtkWidget* scroller = gtk_stack_get_visible_child(GTK_STACK(engine->widget()));
    GtkAdjustment* scrolled = gtk_scrolled_window_get_vadjustment(GTK_SCROLLED_WINDOW(scroller));
    constexpr double kMargin = PopplerDocumentView::kMargin;
    const double scale = (gtk_widget_get_allocated_width(scroller) - 2 * kMargin) / kPageWidth;
    EXPECT_NEAR(gtk_adjustment_get_upper(scrolled), kPageHeight * scale + 2 * kMargin, 1);
    gtk_adjustment_set_value(scrolled, gtk_adjustment_get_upper(scrolled));
    EXPECT_LT(darkShare(*screenshot(window)), kShownDarkShare);
}

TEST_F(GtkWebViewEngineTest, LoadsAStringAgainstItsBaseAndOpensNoNewWindow)
{
    openHelpWindow();
    help->webView()->loadHTMLString("<script src='title.js'></script>"
                                    "<a target='_blank' href='other.html' style='position:fixed;inset:0'>other</a>",
                                    fileURL("page.html"));
    ASSERT_TRUE(loaded(fileURL("page.html")));
    EXPECT_TRUE(runUntil([&] { return engine->title() == "resolved"; }));
    const Console::Capture capture;
    click(gtk_stack_get_visible_child(GTK_STACK(engine->widget())));
    const std::vector<std::string> asked{"navigationAction: ", fileURL("other.html").absoluteString(),
                                         "createWebViewWith:", fileURL("other.html").absoluteString()};
    EXPECT_TRUE(runUntil([&] { return capture.lines() == asked; }));
    EXPECT_EQ(engine->url(), fileURL("page.html"));
}

TEST_F(GtkWebViewEngineTest, ALateAnswerDecidesTheNavigationOrFindsTheEngineGone)
{
    const auto webView = std::make_shared<WKWebView>();
    const auto delegate = std::make_shared<HoldingDelegate>();
    webView->navigationDelegate = delegate;
    openWindow(webView);
    webView->load(URLRequest(fileURL("other.html")));
    ASSERT_TRUE(runUntil([&] { return delegate->held != nullptr; }));
    runUntil([] { return false; }, 0.2);
    EXPECT_NE(engine->url(), fileURL("other.html"));
    delegate->held(WKNavigationActionPolicy::allow);
    EXPECT_TRUE(loaded(fileURL("other.html")));

    delegate->held = nullptr;
    webView->load(URLRequest(fileURL("page.html")));
    ASSERT_TRUE(runUntil([&] { return delegate->held != nullptr; }));
    webView->setEngine(nullptr);
    engine.reset();
    gtk_widget_destroy(std::exchange(window, gtk_window_new(GTK_WINDOW_TOPLEVEL)));
    delegate->held(WKNavigationActionPolicy::allow);
    runUntil([] { return false; }, 0.2);
}
