#include "PanelDrawing.h"

#include "CGContext.h"
#include "UIGraphics.h"

#include <cmath>

void fillPath(const UIBezierPath& path, const UIColor& color)
{
    color.setFill();
    path.fill();
}

void strokePath(UIBezierPath path, const UIColor& color, CGFloat width, StrokeEnds ends)
{
    path.setLineWidth(width);
    if (ends == StrokeEnds::round) {
        path.setLineCapStyle(CGLineCap::round);
        path.setLineJoinStyle(CGLineJoin::round);
    }
    color.setStroke();
    path.stroke();
}

void strokePolyline(std::initializer_list<CGPoint> points, const UIColor& color, CGFloat width,
                    StrokeEnds ends)
{
    UIBezierPath path;
    for (const CGPoint& point : points) {
        if (path.isEmpty()) {
            path.move(point);
        } else {
            path.addLine(point);
        }
    }
    strokePath(std::move(path), color, width, ends);
}

void drawText(const std::string& text, CGRect rect, const TextStyle& style, TextPlacement placement)
{
    CGContext* context = UIGraphicsGetCurrentContext();
    const std::optional<UIFont> font = UIFont::named(style.fontName, style.size);
    if (context == nullptr || !font) {
        return;
    }
    const NSStringAttributes attributes{*font, style.color, style.alignment};
    const CGFloat height = boundingRect(text, {rect.width(), INFINITY}, attributes).height();
    const CGFloat top = placement == TextPlacement::centred ? rect.minY() + (rect.height() - height) / 2
                                                            : rect.minY();
    context->saveGState();
    context->clip(rect);
    ::draw(text, CGRect(rect.minX(), top, rect.width(), height), attributes);
    context->restoreGState();
}

void drawOnCanvas(CGContext& context, CGRect canvas, CGRect placed, const std::function<void()>& drawing)
{
    context.saveGState();
    context.translateBy(placed.minX(), placed.minY());
    context.scaleBy(placed.width() / canvas.width(), placed.height() / canvas.height());
    drawing();
    context.restoreGState();
}
