#pragma once

#include "CGAffineTransform.h"
#include "CGRect.h"
#include "NSLayoutAnchor.h"
#include "NSLayoutConstraint.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <set>
#include <vector>

class CGContext;
class LayerVisitor;
class UIEvent;
class UIGestureRecognizer;
class UIImage;
class UITouch;
class UIViewController;
class UIWindow;

// A rectangle in a tree of views. A view owns its subviews; the superview is
// a weak back-reference. Layout applies the active edge constraints held by a
// view to those of its subviews that do not translate their autoresizing mask
// into constraints.
//
// Layout: a view needs layout when it is made, when its size changes, when it
// gains or loses a subview and when its constraints change; a layout pass
// lays out just those views. A view controller's root view tells its
// controller after each of its own layouts.
//
// Display: only a view in a window is shown. A view needs display when it is
// made, when its size changes and when it asks for it. A display pass draws
// each shown view that needs it with `draw` into a cleared image of its
// bounds (at the main screen's scale) and keeps that image as what the view
// shows: a new one, or the one it showed before the last, when nothing else
// holds that one any more. While `draw` runs, the view still shows its
// previous image, so a drawing may snapshot it. Showing composes the kept
// images, subviews over their superview, each placed by its frame and
// transform and faded by its alpha.
class UIView : public std::enable_shared_from_this<UIView> {
public:
    explicit UIView(CGRect frame = {});
    virtual ~UIView() = default;
    UIView(const UIView&) = delete;
    UIView& operator=(const UIView&) = delete;

    const CGRect& frame() const { return frame_; }
    // A new size asks for layout and display, wherever it comes from (a
    // layout pass included): the view is drawn again at its size rather than
    // shown stretched.
    void setFrame(const CGRect& frame);
    // The view's own coordinate space: origin (0, 0), the frame's size.
    CGRect bounds() const { return CGRect(0, 0, frame_.width(), frame_.height()); }

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    CGFloat alpha() const { return alpha_; }
    void setAlpha(CGFloat alpha) { alpha_ = alpha; }
    // Applied about the frame's centre when the view is shown and when
    // points are converted; the frame itself stays as set.
    const CGAffineTransform& transform() const { return transform_; }
    void setTransform(const CGAffineTransform& transform) { transform_ = transform; }

    // The window at the top of the view's tree; none when the tree has no
    // window, and then the view is not shown.
    std::shared_ptr<UIWindow> window() const;

    // Draws the view's own content into the current graphics context, in
    // the view's coordinate space; `rect` is the area to redraw. Draws
    // nothing by default; a view whose drawing paints nothing shows no image
    // of its own.
    virtual void draw(CGRect rect);
    // Asks for the view to be drawn again at the next display pass.
    void setNeedsDisplay();
    bool needsDisplay() const { return needsDisplay_; }
    // How many times setNeedsDisplay() asked for a redraw since the view was
    // made.
    int displayRequestCount() const { return displayRequests_; }
    // Display pass over this view and its shown subviews: draws those that
    // asked for it. Does nothing outside a window.
    void displayIfNeeded();
    // The image the view shows (its last drawing), or none.
    const std::shared_ptr<UIImage>& layerContents() const { return contents_; }
    // Draws what the view and its subviews show now, scaled from the
    // bounds into `rect` of the current graphics context; with
    // `afterScreenUpdates` a display pass of its window runs first. False
    // (nothing drawn) outside a window or without a current context.
    bool drawHierarchy(CGRect rect, bool afterScreenUpdates);
    // What the view's layer renders: the kept images of this view and of its
    // shown subviews, painted into `context` in this view's coordinate space,
    // in or outside a window.
    void renderLayer(CGContext& context) const;
    // The same, but only the kept images from the `first`-th up to before
    // the `end`-th in painting order (counting from 0); the others are left
    // out, each subview still placed and faded as it would be.
    void renderLayer(CGContext& context, std::size_t first, std::size_t end) const;
    // The walk renderLayer paints by: the view's kept image, then each shown
    // subview's, placed and faded, told to `visitor` in painting order.
    void visitLayer(LayerVisitor& visitor) const;

    // Touch delivery, as the platform's responder does it. `event` may be
    // null. They do nothing by default.
    using Touches = std::set<std::shared_ptr<UITouch>>;
    virtual void touchesBegan(const Touches& touches, UIEvent* event);
    virtual void touchesMoved(const Touches& touches, UIEvent* event);
    virtual void touchesEnded(const Touches& touches, UIEvent* event);
    virtual void touchesCancelled(const Touches& touches, UIEvent* event);

    // `point` in the coordinate space of the topmost ancestor, converted
    // into this view's.
    CGPoint convertFromRoot(CGPoint point) const;
    // `point` in this view's coordinate space, converted into the topmost
    // ancestor's.
    CGPoint convertToRoot(CGPoint point) const;

    // The view keeps its recognisers; each refers back to it without owning.
    void addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer);
    const std::vector<std::shared_ptr<UIGestureRecognizer>>& gestureRecognizers() const
    {
        return gestureRecognizers_;
    }

    std::shared_ptr<UIView> superview() const { return superview_.lock(); }
    const std::vector<std::shared_ptr<UIView>>& subviews() const { return subviews_; }
    // Moves `view` here from any former superview. Refuses (with a Console
    // error) to add a view to itself or to one of its own subviews.
    void addSubview(const std::shared_ptr<UIView>& view);
    // Also drops the constraints that involve the view.
    void removeFromSuperview();

    bool translatesAutoresizingMaskIntoConstraints() const { return translatesMask_; }
    // A change asks the superview for layout.
    void setTranslatesAutoresizingMaskIntoConstraints(bool translates);

    NSLayoutAnchor topAnchor() { return {weak_from_this(), NSLayoutAttribute::top}; }
    NSLayoutAnchor leadingAnchor() { return {weak_from_this(), NSLayoutAttribute::leading}; }
    NSLayoutAnchor bottomAnchor() { return {weak_from_this(), NSLayoutAttribute::bottom}; }
    NSLayoutAnchor trailingAnchor() { return {weak_from_this(), NSLayoutAttribute::trailing}; }
    // The active constraints this view holds (it is their views' nearest
    // common ancestor).
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints() const { return constraints_; }

    // Asks for layout at the next layout pass.
    void setNeedsLayout() { needsLayout_ = true; }
    bool needsLayout() const { return needsLayout_; }
    // A layout pass down the tree: each view that needs layout lays out its
    // subviews (and, for a root view, its controller hears of it) before its
    // subviews' own pass.
    void layoutIfNeeded();
    // Applies this view's constraints to its subviews' frames.
    virtual void layoutSubviews();

    // The nearest view that is `a` or `b` or an ancestor of both, or none.
    static std::shared_ptr<UIView> commonAncestor(const std::shared_ptr<UIView>& a,
                                                  const std::shared_ptr<UIView>& b);

private:
    friend class NSLayoutConstraint;
    friend class UIViewController;

    bool isDescendantOf(const UIView* view) const;
    // The edge of `anchor`'s view in this view's coordinate space, or none
    // when that view is neither this view nor one of its subviews.
    std::optional<CGFloat> edge(const NSLayoutAnchor& anchor) const;
    void applyConstraints(UIView& subview) const;
    void display();
    // visitLayer, numbering the kept images on from `index`.
    void visitPictures(LayerVisitor& visitor, std::size_t& index) const;
    // The same for a shown subview, placed about its frame's centre by its
    // transform and faded by its alpha.
    void visitPlaced(LayerVisitor& visitor, std::size_t& index) const;

    CGRect frame_;
    std::weak_ptr<UIView> superview_;
    std::vector<std::shared_ptr<UIView>> subviews_;
    std::vector<std::shared_ptr<NSLayoutConstraint>> constraints_;
    std::vector<std::shared_ptr<UIGestureRecognizer>> gestureRecognizers_;
    // The controller whose root view this is.
    std::weak_ptr<UIViewController> viewController_;
    bool translatesMask_ = true;
    bool needsLayout_ = true;
    bool hidden_ = false;
    CGFloat alpha_ = 1;
    CGAffineTransform transform_;
    bool needsDisplay_ = true;
    int displayRequests_ = 0;
    std::shared_ptr<UIImage> contents_;
    // A former picture whose pixels the next pass may draw into.
    std::shared_ptr<UIImage> spare_;
};
