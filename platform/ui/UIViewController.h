#pragma once

#include <memory>

class UIView;

// Manages a view tree, its root made on first use: view() loads it through
// loadView() and then calls viewDidLoad(), once. Controllers are made with
// std::make_shared, so that the views and blocks they hand themselves to can
// refer back to them without owning them.
class UIViewController : public std::enable_shared_from_this<UIViewController> {
public:
    UIViewController() = default;
    virtual ~UIViewController() = default;
    UIViewController(const UIViewController&) = delete;
    UIViewController& operator=(const UIViewController&) = delete;

    // The root view, loaded first when it is not yet.
    const std::shared_ptr<UIView>& view();
    bool isViewLoaded() const { return view_ != nullptr; }

protected:
    // Makes the root view and whatever it holds; the default makes a plain
    // view. An override sets the root with setView().
    virtual void loadView();
    // Called once, right after loadView().
    virtual void viewDidLoad();
    void setView(std::shared_ptr<UIView> view) { view_ = std::move(view); }

private:
    std::shared_ptr<UIView> view_;
};
