#pragma once

#include "ShellTestSupport.h"

#include "../support/TemporaryFolder.h"

#include "AppDelegate.h"
#include "GtkApplicationShell.h"
#include "UIApplication.h"
#include "ViewController.h"

#include <memory>

// The application launched and shown by the shell, its effect's view
// embedded, with settings and documents in a folder of its own.
class LaunchedApplication : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gtkReady());
        UIApplication::shared().launch([] { return std::make_shared<AppDelegate>(); },
                                       [] { return std::make_shared<ViewController>(); });
        shell_ = std::make_unique<GtkApplicationShell>(UIApplication::shared().delegate()->window, "Shell test");
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

    const TemporaryFolder home_;
    const ScopedEnvironment data_{"XDG_DATA_HOME", (home_.path() / "data").string()};
    const ScopedEnvironment config_{"XDG_CONFIG_HOME", (home_.path() / "config").string()};
    std::unique_ptr<GtkApplicationShell> shell_;
    std::shared_ptr<ViewController> screen_;
};
