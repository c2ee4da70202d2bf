#include "UIViewController.h"

#include "Console.h"
#include "UIApplication.h"
#include "UIStoryboardSegue.h"
#include "UIView.h"

#include <utility>

const std::shared_ptr<UIView>& UIViewController::view()
{
    if (!view_) {
        loadView();
        if (!view_) {
            view_ = std::make_shared<UIView>();
        }
        view_->viewController_ = weak_from_this();
        viewDidLoad();
    }
    return view_;
}

void UIViewController::present(const std::shared_ptr<UIViewController>& controller, bool animated,
                               const std::function<void()>& completion)
{
    if (!controller) {
        return;
    }
    if (presented_ || controller->presentingViewController() || controller.get() == this) {
        Console::print("UIViewController::WARNING: A view controller is presented only where none is "
                       "presented yet; it is not shown.");
        return;
    }
    controller->view();
    if (auto* host = UIApplication::shared().presentationHost()) {
        host->willPresent(controller);
    }
    controller->viewWillAppear(animated);
    presented_ = controller;
    controller->presenting_ = weak_from_this();
    if (completion) {
        completion();
    }
}

void UIViewController::dismiss(bool animated, const std::function<void()>& completion)
{
    if (!presented_) {
        if (const auto presenter = presentingViewController()) {
            presenter->dismiss(animated, completion);
        }
        return;
    }
    // The dismissed controller may be the caller: it lives until the call ends.
    const auto dismissed = std::exchange(presented_, nullptr);
    // What it presented goes first, or that one (an alert's dialog) would
    // stay shown with no screen left to dismiss it.
    if (dismissed->presented_) {
        dismissed->dismiss(animated);
    }
    dismissed->presenting_.reset();
    if (auto* host = UIApplication::shared().presentationHost()) {
        host->didDismiss(dismissed);
    }
    if (completion) {
        completion();
    }
}

void UIViewController::performSegue(const std::shared_ptr<UIStoryboardSegue>& segue, const std::any& sender)
{
    if (!segue) {
        return;
    }
    prepare(*segue, sender);
    segue->perform();
}

void UIViewController::addSegue(const std::string& identifier, DestinationMaker makeDestination)
{
    segues_[identifier] = std::move(makeDestination);
}

void UIViewController::performSegue(const std::string& identifier, const std::any& sender)
{
    const auto found = segues_.find(identifier);
    if (found == segues_.end()) {
        return;
    }
    performSegue(std::make_shared<UIStoryboardSegue>(identifier, shared_from_this(), found->second()), sender);
}

void UIViewController::addChild(const std::shared_ptr<UIViewController>& child)
{
    if (!child || child.get() == this || child->parent().get() == this) {
        return;
    }
    child->willMove(shared_from_this());
    children_.push_back(child);
    child->parent_ = weak_from_this();
}

void UIViewController::willMove(const std::shared_ptr<UIViewController>&) {}

void UIViewController::didMove(const std::shared_ptr<UIViewController>&) {}

void UIViewController::viewWillAppear(bool) {}

void UIViewController::loadView()
{
    setView(std::make_shared<UIView>());
}

void UIViewController::viewDidLoad() {}

void UIViewController::viewDidLayoutSubviews() {}

void UIViewController::prepare(UIStoryboardSegue&, const std::any&) {}
