#pragma once

#include <any>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class UIStoryboardSegue;
class UIView;

// Manages a view tree, its root made on first use: view() loads it through
// loadView() and then calls viewDidLoad(), once. Controllers are made with
// std::make_shared, so that the views and blocks they hand themselves to can
// refer back to them without owning them.
//
// A controller presents at most one other controller at a time; it owns the
// one it presents, which refers back to it without owning it.
class UIViewController : public std::enable_shared_from_this<UIViewController> {
public:
    UIViewController() = default;
    virtual ~UIViewController() = default;
    UIViewController(const UIViewController&) = delete;
    UIViewController& operator=(const UIViewController&) = delete;

    // The root view, loaded first when it is not yet.
    const std::shared_ptr<UIView>& view();
    bool isViewLoaded() const { return view_ != nullptr; }

    // Shows `controller` (its view loaded, then told it will appear) over this one; `completion` runs
    // once it is shown. While this controller already presents one, or
    // `controller` is shown elsewhere, nothing is shown, a warning line says
    // so, and `completion` does not run. Nothing is animated here.
    void present(const std::shared_ptr<UIViewController>& controller, bool animated,
                 const std::function<void()>& completion);
    // Called on the presenting controller, takes away the one it presents,
    // after whatever that one presents; called on a presented one, asks its
    // presenter to. `completion` runs once it is gone; with nothing to take
    // away nothing happens.
    void dismiss(bool animated, const std::function<void()>& completion = {});
    const std::shared_ptr<UIViewController>& presentedViewController() const { return presented_; }
    std::shared_ptr<UIViewController> presentingViewController() const { return presenting_.lock(); }

    // What the interface file does when one of its segues is triggered from
    // this controller: prepare() first, then the segue performs.
    void performSegue(const std::shared_ptr<UIStoryboardSegue>& segue, const std::any& sender);
    // The segues the interface file gives this controller: each time one is
    // performed by its identifier, a new destination is made for it. An
    // identifier without a segue does nothing.
    using DestinationMaker = std::function<std::shared_ptr<UIViewController>()>;
    void addSegue(const std::string& identifier, DestinationMaker makeDestination);
    void performSegue(const std::string& identifier, const std::any& sender);

    // Containment: a child's view lives in this controller's view tree.
    // addChild() tells the child it will move; the caller tells it it did
    // once its view is in place.
    void addChild(const std::shared_ptr<UIViewController>& child);
    const std::vector<std::shared_ptr<UIViewController>>& children() const { return children_; }
    std::shared_ptr<UIViewController> parent() const { return parent_.lock(); }
    virtual void willMove(const std::shared_ptr<UIViewController>& parent);
    virtual void didMove(const std::shared_ptr<UIViewController>& parent);

protected:
    // Makes the root view and whatever it holds; the default makes a plain
    // view. An override sets the root with setView().
    virtual void loadView();
    // Called once, right after loadView().
    virtual void viewDidLoad();
    // Called each time the controller is about to be shown.
    virtual void viewWillAppear(bool animated);
    // Called after each layout of the root view, before its subviews lay
    // themselves out.
    virtual void viewDidLayoutSubviews();
    // Called before a segue from this controller performs; does nothing by
    // default.
    virtual void prepare(UIStoryboardSegue& segue, const std::any& sender);
    void setView(std::shared_ptr<UIView> view) { view_ = std::move(view); }

private:
    friend class UIView;

    std::shared_ptr<UIView> view_;
    std::shared_ptr<UIViewController> presented_;
    std::weak_ptr<UIViewController> presenting_;
    std::map<std::string, DestinationMaker> segues_;
    std::vector<std::shared_ptr<UIViewController>> children_;
    std::weak_ptr<UIViewController> parent_;
};
