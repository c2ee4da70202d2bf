#include "UIView.h"

#include "CGContext.h"
#include "Console.h"
#include "LayerVisitor.h"
#include "UIGestureRecognizer.h"
#include "UIGraphics.h"
#include "UIGraphicsImageRenderer.h"
#include "UIImage.h"
#include "UIScreen.h"
#include "UIViewController.h"
#include "UIWindow.h"

#include <cairo.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace {

CGFloat edgeOf(const CGRect& rect, NSLayoutAttribute attribute)
{
    switch (attribute) {
    case NSLayoutAttribute::top:
        return rect.minY();
    case NSLayoutAttribute::leading:
        return rect.minX();
    case NSLayoutAttribute::bottom:
        return rect.maxY();
    case NSLayoutAttribute::trailing:
        return rect.maxX();
    }
    return 0;
}

// Edges a constraint set; the others keep the frame's.
struct Edges {
    std::optional<CGFloat> top, leading, bottom, trailing;

    void set(NSLayoutAttribute attribute, CGFloat value)
    {
        switch (attribute) {
        case NSLayoutAttribute::top:
            top = value;
            break;
        case NSLayoutAttribute::leading:
            leading = value;
            break;
        case NSLayoutAttribute::bottom:
            bottom = value;
            break;
        case NSLayoutAttribute::trailing:
            trailing = value;
            break;
        }
    }

    // One axis: both edges fix position and length, one edge moves the
    // current length to it.
    static void resolve(std::optional<CGFloat> low, std::optional<CGFloat> high, CGFloat& origin,
                        CGFloat& length)
    {
        if (low && high) {
            origin = *low;
            length = *high - *low;
        } else if (low) {
            origin = *low;
        } else if (high) {
            origin = *high - length;
        }
    }

    CGRect applied(const CGRect& frame) const
    {
        CGFloat x = frame.minX();
        CGFloat y = frame.minY();
        CGFloat width = frame.width();
        CGFloat height = frame.height();
        resolve(leading, trailing, x, width);
        resolve(top, bottom, y, height);
        return CGRect(x, y, width, height);
    }
};

// Paints the kept images numbered from `first` to before `end`.
class LayerPainter : public LayerVisitor {
public:
    LayerPainter(CGContext& context, std::size_t first, std::size_t end) : context_(context), first_(first), end_(end)
    {
    }

    void picture(const std::shared_ptr<UIImage>& image, const CGRect& bounds, std::size_t index) override
    {
        if (first_ <= index && index < end_) {
            context_.drawImage(*image, bounds);
        }
    }
    void save() override { context_.saveGState(); }
    void concatenate(const CGAffineTransform& step) override { context_.concatenate(step); }
    bool canPaint() const override { return context_.canPaint(); }
    void beginFade(const UIView&) override { cairo_push_group(context_.cairo()); }
    void endFade(const UIView& view) override
    {
        cairo_pop_group_to_source(context_.cairo());
        cairo_paint_with_alpha(context_.cairo(), view.alpha());
    }
    void restore() override { context_.restoreGState(); }

private:
    CGContext& context_;
    std::size_t first_;
    std::size_t end_;
};

} // namespace

UIView::UIView(CGRect frame) : frame_(frame) {}

void UIView::setFrame(const CGRect& frame)
{
    // A picture of the former size would be shown stretched, while touches
    // are read by the new one.
    if (frame.size != frame_.size) {
        needsLayout_ = true;
        needsDisplay_ = true;
    }
    frame_ = frame;
}

void UIView::setTranslatesAutoresizingMaskIntoConstraints(bool translates)
{
    if (translates == translatesMask_) {
        return;
    }
    translatesMask_ = translates;
    if (const auto parent = superview()) {
        parent->setNeedsLayout();
    }
}

std::shared_ptr<UIWindow> UIView::window() const
{
    const UIView* top = this;
    while (const auto parent = top->superview()) {
        top = parent.get();
    }
    // A view not held by a shared pointer belongs to no tree.
    return std::dynamic_pointer_cast<UIWindow>(
        std::const_pointer_cast<UIView>(top->weak_from_this().lock()));
}

void UIView::draw(CGRect) {}

void UIView::setNeedsDisplay()
{
    needsDisplay_ = true;
    ++displayRequests_;
}

void UIView::displayIfNeeded()
{
    if (hidden_ || !window()) {
        return;
    }
    if (needsDisplay_) {
        display();
    }
    // A drawing may change the subviews; walk a copy.
    const auto subviews = subviews_;
    for (const auto& subview : subviews) {
        subview->displayIfNeeded();
    }
}

void UIView::display()
{
    needsDisplay_ = false;
    const CGRect area = bounds();
    if (area.width() == 0 || area.height() == 0) {
        contents_.reset();
        return;
    }
    bool painted = false;
    auto image = UIGraphicsImageRenderer(area.size, UIScreen::main().scale())
                     .image(
                         [&](CGContext& context) {
                             draw(area);
                             painted = context.hasPainted();
                         },
                         std::move(spare_));
    // The picture shown until now is drawn into again at the next pass,
    // unless someone else still holds it then.
    spare_ = painted ? std::exchange(contents_, std::move(image)) : std::move(image);
    if (!painted) {
        contents_.reset();
    }
}

bool UIView::drawHierarchy(CGRect rect, bool afterScreenUpdates)
{
    const auto top = window();
    CGContext* context = UIGraphicsGetCurrentContext();
    if (!top || !context) {
        return false;
    }
    if (afterScreenUpdates) {
        top->displayIfNeeded();
    }
    const CGRect area = bounds();
    if (area.width() == 0 || area.height() == 0) {
        return true;
    }
    context->saveGState();
    context->translateBy(rect.minX(), rect.minY());
    context->scaleBy(rect.width() / area.width(), rect.height() / area.height());
    renderLayer(*context);
    context->restoreGState();
    return true;
}

void UIView::renderLayer(CGContext& context) const
{
    renderLayer(context, 0, std::numeric_limits<std::size_t>::max());
}

void UIView::renderLayer(CGContext& context, std::size_t first, std::size_t end) const
{
    LayerPainter painter(context, first, end);
    visitLayer(painter);
}

void UIView::visitLayer(LayerVisitor& visitor) const
{
    std::size_t index = 0;
    visitPictures(visitor, index);
}

void UIView::visitPictures(LayerVisitor& visitor, std::size_t& index) const
{
    if (contents_) {
        visitor.picture(contents_, bounds(), index++);
    }
    for (const auto& subview : subviews_) {
        if (!subview->hidden_ && subview->alpha_ > 0) {
            subview->visitPlaced(visitor, index);
        }
    }
}

void UIView::visitPlaced(LayerVisitor& visitor, std::size_t& index) const
{
    visitor.save();
    visitor.concatenate(CGAffineTransform::translation(frame_.midX(), frame_.midY()));
    visitor.concatenate(transform_);
    visitor.concatenate(CGAffineTransform::translation(-frame_.width() / 2, -frame_.height() / 2));
    // A faded view fades as one picture with its subviews; where nothing can
    // be painted there is nothing to fade.
    const bool faded = alpha_ < 1 && visitor.canPaint();
    if (faded) {
        visitor.beginFade(*this);
    }
    visitPictures(visitor, index);
    if (faded) {
        visitor.endFade(*this);
    }
    visitor.restore();
}

void UIView::touchesBegan(const Touches&, UIEvent*) {}
void UIView::touchesMoved(const Touches&, UIEvent*) {}
void UIView::touchesEnded(const Touches&, UIEvent*) {}
void UIView::touchesCancelled(const Touches&, UIEvent*) {}

CGPoint UIView::convertFromRoot(CGPoint point) const
{
    const auto parent = superview();
    if (!parent) {
        return point;
    }
    const CGPoint inParent = parent->convertFromRoot(point);
    // The frame's centre carries the bounds' centre; the transform acts
    // around it.
    const CGPoint offset{inParent.x - frame_.midX(), inParent.y - frame_.midY()};
    const CGPoint local = transform_.inverted().apply(offset);
    return {local.x + frame_.width() / 2, local.y + frame_.height() / 2};
}

CGPoint UIView::convertToRoot(CGPoint point) const
{
    const auto parent = superview();
    if (!parent) {
        return point;
    }
    const CGPoint offset{point.x - frame_.width() / 2, point.y - frame_.height() / 2};
    const CGPoint moved = transform_.apply(offset);
    return parent->convertToRoot({moved.x + frame_.midX(), moved.y + frame_.midY()});
}

void UIView::addGestureRecognizer(const std::shared_ptr<UIGestureRecognizer>& recognizer)
{
    if (!recognizer) {
        return;
    }
    if (const auto former = recognizer->view()) {
        std::erase(former->gestureRecognizers_, recognizer);
    }
    recognizer->view_ = weak_from_this();
    gestureRecognizers_.push_back(recognizer);
}

void UIView::addSubview(const std::shared_ptr<UIView>& view)
{
    if (!view) {
        return;
    }
    if (isDescendantOf(view.get())) {
        Console::print("UIView::ERROR: A view cannot become a subview of itself or of its own "
                       "subviews.");
        return;
    }
    if (view->superview().get() != this) {
        view->removeFromSuperview();
        view->superview_ = weak_from_this();
        subviews_.push_back(view);
        needsLayout_ = true;
    }
}

void UIView::removeFromSuperview()
{
    const auto parent = superview();
    if (!parent) {
        return;
    }
    const auto self = shared_from_this();
    auto& siblings = parent->subviews_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), self), siblings.end());
    superview_.reset();
    parent->needsLayout_ = true;
    for (auto* holder = parent.get(); holder != nullptr; holder = holder->superview().get()) {
        std::erase_if(holder->constraints_, [&](const auto& constraint) {
            const bool involved = constraint->firstAnchor().view() == self ||
                                  constraint->secondAnchor().view() == self;
            if (involved) {
                constraint->active_ = false;
                holder->needsLayout_ = true;
            }
            return involved;
        });
    }
}

void UIView::layoutIfNeeded()
{
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
        if (const auto controller = viewController_.lock()) {
            controller->viewDidLayoutSubviews();
        }
    }
    // A layout may change the subviews; walk a copy.
    const auto subviews = subviews_;
    for (const auto& subview : subviews) {
        subview->layoutIfNeeded();
    }
}

void UIView::layoutSubviews()
{
    for (const auto& subview : subviews_) {
        if (!subview->translatesMask_) {
            applyConstraints(*subview);
        }
    }
}

std::shared_ptr<UIView> UIView::commonAncestor(const std::shared_ptr<UIView>& a,
                                               const std::shared_ptr<UIView>& b)
{
    for (auto candidate = a; candidate; candidate = candidate->superview()) {
        if (b->isDescendantOf(candidate.get())) {
            return candidate;
        }
    }
    return nullptr;
}

bool UIView::isDescendantOf(const UIView* view) const
{
    for (const UIView* current = this; current != nullptr; current = current->superview().get()) {
        if (current == view) {
            return true;
        }
    }
    return false;
}

std::optional<CGFloat> UIView::edge(const NSLayoutAnchor& anchor) const
{
    const auto view = anchor.view();
    if (view.get() == this) {
        return edgeOf(bounds(), anchor.attribute());
    }
    if (view && view->superview().get() == this) {
        return edgeOf(view->frame_, anchor.attribute());
    }
    return std::nullopt;
}

void UIView::applyConstraints(UIView& subview) const
{
    Edges edges;
    for (const auto& constraint : constraints_) {
        if (constraint->firstAnchor().view().get() != &subview) {
            continue;
        }
        if (const auto target = edge(constraint->secondAnchor())) {
            edges.set(constraint->firstAnchor().attribute(), *target + constraint->constant());
        }
    }
    subview.setFrame(edges.applied(subview.frame_));
}
