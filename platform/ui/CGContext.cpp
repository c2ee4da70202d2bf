#include "CGContext.h"

#include "NSStringDrawing.h"
#include "TextDrawRecorder.h"
#include "TextLayout.h"
#include "UIBezierPath.h"
#include "UIImage.h"

#include <cairo.h>

namespace {

cairo_line_cap_t cairoCap(CGLineCap cap)
{
    switch (cap) {
    case CGLineCap::round:
        return CAIRO_LINE_CAP_ROUND;
    case CGLineCap::square:
        return CAIRO_LINE_CAP_SQUARE;
    case CGLineCap::butt:
        break;
    }
    return CAIRO_LINE_CAP_BUTT;
}

cairo_line_join_t cairoJoin(CGLineJoin join)
{
    switch (join) {
    case CGLineJoin::round:
        return CAIRO_LINE_JOIN_ROUND;
    case CGLineJoin::bevel:
        return CAIRO_LINE_JOIN_BEVEL;
    case CGLineJoin::miter:
        break;
    }
    return CAIRO_LINE_JOIN_MITER;
}

} // namespace

CGContext::CGContext(cairo_t* cairo) : cairo_(cairo)
{
    cairo_matrix_t matrix;
    cairo_get_matrix(cairo_, &matrix);
    state_.push_back({{{matrix.xx, matrix.yx, matrix.xy, matrix.yy, matrix.x0, matrix.y0}}});
}

void CGContext::saveGState()
{
    cairo_save(cairo_);
    state_.push_back(state_.back());
}

void CGContext::restoreGState()
{
    if (state_.size() < 2) {
        return;
    }
    cairo_restore(cairo_);
    state_.pop_back();
}

void CGContext::translateBy(CGFloat tx, CGFloat ty)
{
    concatenate(CGAffineTransform::translation(tx, ty));
}

void CGContext::scaleBy(CGFloat sx, CGFloat sy)
{
    concatenate(CGAffineTransform::scale(sx, sy));
}

void CGContext::rotate(CGFloat angle)
{
    concatenate(CGAffineTransform::rotation(angle));
}

void CGContext::concatenate(const CGAffineTransform& transform)
{
    if (!state_.back().space.concatenate(transform)) {
        return;
    }
    const cairo_matrix_t matrix{transform.a, transform.b, transform.c,
                                transform.d, transform.tx, transform.ty};
    cairo_transform(cairo_, &matrix);
}

void CGContext::clip(CGRect rect)
{
    DeviceSpace& space = state_.back().space;
    if (!space.paintable) {
        return;
    }
    if (!rect.isFinite()) {
        space.paintable = false;
        return;
    }
    const CGRect r = rect.standardized();
    cairo_new_path(cairo_);
    cairo_rectangle(cairo_, r.minX(), r.minY(), r.width(), r.height());
    cairo_clip(cairo_);
}

void CGContext::fillPath(const UIBezierPath& path)
{
    painted_ = true;
    if (!canPaint()) {
        return;
    }
    appendPath(path);
    cairo_set_fill_rule(cairo_, CAIRO_FILL_RULE_WINDING);
    setSourceColor(fillColor());
    cairo_fill(cairo_);
}

void CGContext::strokePath(const UIBezierPath& path)
{
    painted_ = true;
    if (!canPaint()) {
        return;
    }
    appendPath(path);
    cairo_set_line_width(cairo_, path.lineWidth());
    cairo_set_line_cap(cairo_, cairoCap(path.lineCapStyle()));
    cairo_set_line_join(cairo_, cairoJoin(path.lineJoinStyle()));
    setSourceColor(strokeColor());
    cairo_stroke(cairo_);
}

void CGContext::fill(CGRect rect)
{
    fillPath(UIBezierPath(rect));
}

void CGContext::drawImage(const UIImage& image, CGRect rect)
{
    painted_ = true;
    if (!canPaint() || !rect.isFinite() || image.pixelWidth() == 0 || image.pixelHeight() == 0) {
        return;
    }
    const CGRect r = rect.standardized();
    const auto placement =
        CGAffineTransform::scale(r.width() / image.pixelWidth(), r.height() / image.pixelHeight())
            .concatenating(CGAffineTransform::translation(r.minX(), r.minY()));
    if (!placement.concatenating(ctm()).isInvertible()) {
        return;
    }
    cairo_save(cairo_);
    const cairo_matrix_t matrix{placement.a, placement.b, placement.c,
                                placement.d, placement.tx, placement.ty};
    cairo_transform(cairo_, &matrix);
    // Edge pixels extend up to the rectangle's border instead of fading
    // into transparency when the image is filtered.
    cairo_set_source_surface(cairo_, image.surface(), 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cairo_), CAIRO_EXTEND_PAD);
    cairo_new_path(cairo_);
    cairo_rectangle(cairo_, 0, 0, image.pixelWidth(), image.pixelHeight());
    cairo_fill(cairo_);
    cairo_restore(cairo_);
}

void CGContext::drawText(const std::string& string, CGRect rect,
                         const NSStringAttributes& attributes)
{
    painted_ = true;
    TextDrawRecorder::record({string, rect, attributes.font.fontName(),
                              attributes.font.pointSize(), attributes.foregroundColor,
                              attributes.alignment, ctm()});
    if (!canPaint() || !rect.isFinite()) {
        return;
    }
    const TextLayout layout(string, rect.width(), attributes, cairo_);
    setSourceColor(attributes.foregroundColor);
    layout.show(cairo_, {rect.minX(), rect.minY()});
}

void CGContext::appendPath(const UIBezierPath& path)
{
    cairo_new_path(cairo_);
    for (const auto& element : path.elements()) {
        switch (element.kind) {
        case UIBezierPath::Element::Kind::move:
            cairo_move_to(cairo_, element.point.x, element.point.y);
            break;
        case UIBezierPath::Element::Kind::line:
            cairo_line_to(cairo_, element.point.x, element.point.y);
            break;
        case UIBezierPath::Element::Kind::curve:
            cairo_curve_to(cairo_, element.control1.x, element.control1.y, element.control2.x,
                           element.control2.y, element.point.x, element.point.y);
            break;
        case UIBezierPath::Element::Kind::close:
            cairo_close_path(cairo_);
            break;
        }
    }
}

void CGContext::setSourceColor(const UIColor& color)
{
    cairo_set_source_rgba(cairo_, color.red(), color.green(), color.blue(), color.alpha());
}
