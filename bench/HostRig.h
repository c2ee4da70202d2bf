#pragma once

#include "AppDelegate.h"
#include "AudioOutputDevice.h"
#include "CGContext.h"
#include "Console.h"
#include "RunLoop.h"
#include "UIApplication.h"
#include "UIWindow.h"
#include "ViewController.h"
#include "WindowCompositor.h"

#include <cairo.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

// The host application launched headless from the bench's bundle, the real
// effect loaded from it and the effect's panel shown by the unit button.
// Its settings and documents go to a folder of its own, its console lines
// nowhere. Main thread only.
class HostRig {
public:
    HostRig()
    {
        setenv("XDG_DATA_HOME", (home_ / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
        UIApplication::shared().launch([] { return std::make_shared<AppDelegate>(); },
                                       [] { return std::make_shared<ViewController>(); });
        window_ = UIApplication::shared().delegate()->window;
        screen_ = std::dynamic_pointer_cast<ViewController>(window_->rootViewController());
        if (!screen_ || !pumpUntil([&] { return !screen_->children().empty(); })) {
            throw std::runtime_error("the effect's view was not embedded");
        }
        screen_->buttonUnit()->sendActions(UIControlEvents::touchUpInside);
        window_->layoutIfNeeded();
        window_->displayIfNeeded();
    }
    ~HostRig()
    {
        if (!screen_->stopButton()->isHidden()) {
            screen_->stopButton()->sendActions(UIControlEvents::touchUpInside);
            pumpUntil([&] { return screen_->stopButton()->isHidden(); });
        }
        screen_->audioUnitManager()->cleanup();
        RunLoop::main().runPending();
        screen_.reset();
        window_.reset();
        UIApplication::shared().terminate();
        std::error_code error;
        std::filesystem::remove_all(home_, error);
    }
    HostRig(const HostRig&) = delete;
    HostRig& operator=(const HostRig&) = delete;

    UIWindow& window() { return *window_; }
    ViewController& screen() { return *screen_; }
    // The effect's panel holds, in this order, the frame, the waterfall and
    // the flow panel.
    UIView& waterfall() { return *panel().subviews().at(1); }
    UIView& flowPanel() { return *panel().subviews().at(2); }

    // Plays a bundle sound into `output`; false when it did not start.
    // `afterPass` runs after each run-loop pass meanwhile.
    bool play(const std::shared_ptr<AudioOutputDevice>& output, const std::function<void()>& afterPass = {})
    {
        screen_->audioUnitManager()->auEngine()->engine().setOutputDevice(output);
        screen_->playButton()->sendActions(UIControlEvents::touchUpInside);
        return pumpUntil([&] {
            if (afterPass) {
                afterPass();
            }
            return !screen_->stopButton()->isHidden();
        });
    }

    // The area of the window whose look changed since the last call, in its
    // pixels at scale 1, as the application shell asks for it.
    CGRect change() { return compositor_.change({window_.get()}, window_->bounds().size, 1); }
    // Paints the window onto `surface` as the application shell paints its
    // kept picture: only `area`, or all of it.
    void compose(cairo_surface_t* surface, const std::optional<CGRect>& area = std::nullopt)
    {
        cairo_t* cairo = cairo_create(surface);
        {
            CGContext context(cairo);
            if (area) {
                compositor_.paint(context, {window_.get()}, window_->bounds().size, *area);
            } else {
                compositor_.paint(context, {window_.get()}, window_->bounds().size);
            }
        }
        cairo_destroy(cairo);
        cairo_surface_flush(surface);
    }
    // A surface of the window's size, as the application shell paints on.
    cairo_surface_t* makeWindowSurface() const
    {
        const CGRect frame = window_->frame();
        return cairo_image_surface_create(CAIRO_FORMAT_RGB24, int(frame.width()), int(frame.height()));
    }

    // Runs the main run loop until `done` holds, at most 20 s.
    static bool pumpUntil(const std::function<bool()>& done) { return RunLoop::main().runUntil(done, 20); }

private:
    UIView& panel() { return *screen_->children().front()->view()->subviews().front(); }

    const std::filesystem::path home_ =
        std::filesystem::temp_directory_path() / ("velmora-bench-" + std::to_string(getpid()));
    const Console::Capture quiet_;
    std::shared_ptr<UIWindow> window_;
    std::shared_ptr<ViewController> screen_;
    WindowCompositor compositor_{UIColor(0.11, 1)};
};
