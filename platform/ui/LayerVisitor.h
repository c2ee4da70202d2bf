#pragma once

#include "CGAffineTransform.h"
#include "CGRect.h"

#include <cstddef>
#include <memory>

class UIImage;
class UIView;

// What UIView::visitLayer tells of a tree of views, in painting order: the
// one walk that both paints what the views show and tells a compositor what
// they show, so that the two cannot disagree on which pictures are shown,
// where, in which order or faded how.
//
// Its steps are those of a graphics context: each shown subview is entered
// by save(), placed by concatenate() steps in order, faded as one group
// between beginFade() and endFade() when it is translucent and the visitor
// can paint there, and left by restore().
class LayerVisitor {
public:
    virtual ~LayerVisitor() = default;

    // A kept picture to paint over `bounds` of the current space; `index`
    // numbers the pictures in painting order from 0.
    virtual void picture(const std::shared_ptr<UIImage>& image, const CGRect& bounds, std::size_t index) = 0;
    virtual void save() = 0;
    // `step` followed by the current space's map into device pixels becomes
    // that map.
    virtual void concatenate(const CGAffineTransform& step) = 0;
    // False where nothing can be painted (a singular transform), which is
    // then not faded either.
    virtual bool canPaint() const = 0;
    // The pictures up to endFade() are `view`'s, faded by its alpha as one.
    virtual void beginFade(const UIView& view) = 0;
    virtual void endFade(const UIView& view) = 0;
    virtual void restore() = 0;
};
