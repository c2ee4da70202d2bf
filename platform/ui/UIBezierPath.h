#pragma once

#include "CGLineStyle.h"
#include "CGRect.h"
#include "UIRectCorner.h"

#include <vector>

// A path of straight lines and cubic curves (corners and ovals are quarter
// ellipses made of cubics), with the stroke settings it is drawn with.
class UIBezierPath {
public:
    struct Element {
        enum class Kind { move, line, curve, close };
        Kind kind;
        CGPoint point;
        CGPoint control1;
        CGPoint control2;
    };

    UIBezierPath() = default;
    // A closed rectangle, clockwise from its top-left corner.
    explicit UIBezierPath(CGRect rect);

    // Radii larger than half the rectangle's shorter side are reduced to it.
    static UIBezierPath roundedRect(CGRect rect, CGFloat cornerRadius);
    static UIBezierPath roundedRect(CGRect rect, UIRectCorner corners, CGSize cornerRadii);
    static UIBezierPath ovalIn(CGRect rect);

    void move(CGPoint to);
    void addLine(CGPoint to);
    void close();

    CGFloat lineWidth() const { return lineWidth_; }
    void setLineWidth(CGFloat width) { lineWidth_ = width; }
    CGLineCap lineCapStyle() const { return lineCap_; }
    void setLineCapStyle(CGLineCap cap) { lineCap_ = cap; }
    CGLineJoin lineJoinStyle() const { return lineJoin_; }
    void setLineJoinStyle(CGLineJoin join) { lineJoin_ = join; }

    // Paint the path in the current graphics context with its fill or
    // stroke colour; without a current context they do nothing.
    void fill() const;
    void stroke() const;

    // The smallest rectangle holding every point of the path (curves
    // included); the zero rectangle for an empty path.
    CGRect bounds() const;
    bool isEmpty() const { return elements_.empty(); }
    // Whether `point` lies in the area the path encloses (non-zero winding)
    // or on its outline; a subpath that encloses no area holds no point.
    bool contains(CGPoint point) const;

    const std::vector<Element>& elements() const { return elements_; }

private:
    using Polygon = std::vector<CGPoint>;

    void addCurve(CGPoint to, CGPoint control1, CGPoint control2);
    // A quarter ellipse from `from` to `to` bulging towards `corner`.
    void addCorner(CGPoint from, CGPoint corner, CGPoint to);
    // The subpaths as polygons, curves cut into short lines.
    std::vector<Polygon> polygons() const;

    std::vector<Element> elements_;
    CGFloat lineWidth_ = 1;
    CGLineCap lineCap_ = CGLineCap::butt;
    CGLineJoin lineJoin_ = CGLineJoin::miter;
};
