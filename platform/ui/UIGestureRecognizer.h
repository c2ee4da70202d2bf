#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class UIView;

// The platform's recogniser states, with its raw values.
enum class UIGestureRecognizerState {
    possible = 0,
    began = 1,
    changed = 2,
    ended = 3,
    cancelled = 4,
    failed = 5,
};

// A gesture read from the touches of the view it is attached to. Whatever
// delivers input (the application shell, or a test) moves its state; the
// recogniser keeps that state, applies its failure requirements and tells its
// targets. A discrete gesture (a tap) recognises by moving to ended.
//
// Recognisers are made with std::make_shared: requirements refer to each
// other without owning.
class UIGestureRecognizer : public std::enable_shared_from_this<UIGestureRecognizer> {
public:
    using State = UIGestureRecognizerState;
    using Action = std::function<void(UIGestureRecognizer&)>;

    UIGestureRecognizer() = default;
    virtual ~UIGestureRecognizer() = default;
    UIGestureRecognizer(const UIGestureRecognizer&) = delete;
    UIGestureRecognizer& operator=(const UIGestureRecognizer&) = delete;

    // Calls `action` with this recogniser at every began, changed, ended and
    // cancelled, in the order the actions were added.
    void addTarget(Action action);

    State state() const { return state_; }
    // Moves to `state` and tells the targets. A recognition (began or ended)
    // while a recogniser this one requires to fail is still possible waits:
    // the state stays possible until that one fails, which lets the
    // recognition through, or recognises, which makes this one fail.
    void setState(State state);
    // Back to possible for the next gesture; a waiting recognition is dropped.
    void reset();

    // The view the recogniser is attached to; none before it is attached or
    // once that view is gone.
    std::shared_ptr<UIView> view() const { return view_.lock(); }

    // Whether recognising cancels the touches of the view's hierarchy, so
    // that its views see touchesCancelled. True by default.
    bool cancelsTouchesInView() const { return cancelsTouchesInView_; }
    void setCancelsTouchesInView(bool cancels) { cancelsTouchesInView_ = cancels; }

    // This recogniser recognises only once `other` has failed.
    void require(const std::shared_ptr<UIGestureRecognizer>& other);

private:
    friend class UIView;

    static bool isRecognition(State state);
    void apply(State state);
    // Settles a waiting recognition after a required recogniser moved.
    void requiredMoved();
    bool anyRequiredRecognised() const;
    bool anyRequiredPossible() const;

    State state_ = State::possible;
    std::optional<State> waiting_;
    std::vector<Action> targets_;
    std::weak_ptr<UIView> view_;
    bool cancelsTouchesInView_ = true;
    std::vector<std::weak_ptr<UIGestureRecognizer>> required_;
    std::vector<std::weak_ptr<UIGestureRecognizer>> dependents_;
};
