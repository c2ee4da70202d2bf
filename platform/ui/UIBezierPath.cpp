#include "UIBezierPath.h"

#include "CGContext.h"
#include "UIGraphics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Control-point distance, as a fraction of the radius, of the cubic that
// follows a quarter circle most closely.
constexpr CGFloat kQuarterArc = 0.5522847498307936;
constexpr int kCurveSegments = 16;
constexpr CGFloat kEdgeTolerance = 1e-9;

CGPoint towards(CGPoint from, CGPoint to, CGFloat fraction)
{
    return {from.x + (to.x - from.x) * fraction, from.y + (to.y - from.y) * fraction};
}

CGPoint cubicPoint(CGPoint p0, CGPoint p1, CGPoint p2, CGPoint p3, CGFloat t)
{
    const CGFloat u = 1 - t;
    const CGFloat w0 = u * u * u;
    const CGFloat w1 = 3 * u * u * t;
    const CGFloat w2 = 3 * u * t * t;
    const CGFloat w3 = t * t * t;
    return {w0 * p0.x + w1 * p1.x + w2 * p2.x + w3 * p3.x,
            w0 * p0.y + w1 * p1.y + w2 * p2.y + w3 * p3.y};
}

bool onSegment(CGPoint point, CGPoint a, CGPoint b)
{
    const CGFloat dx = b.x - a.x;
    const CGFloat dy = b.y - a.y;
    const CGFloat lengthSquared = dx * dx + dy * dy;
    const CGFloat t = lengthSquared > 0
                          ? std::clamp(((point.x - a.x) * dx + (point.y - a.y) * dy) / lengthSquared,
                                       CGFloat(0), CGFloat(1))
                          : 0;
    const CGFloat ex = a.x + t * dx - point.x;
    const CGFloat ey = a.y + t * dy - point.y;
    return ex * ex + ey * ey <= kEdgeTolerance * kEdgeTolerance;
}

CGFloat signedArea(const std::vector<CGPoint>& polygon)
{
    CGFloat twice = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const CGPoint& a = polygon[i];
        const CGPoint& b = polygon[(i + 1) % polygon.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

bool onOutline(CGPoint point, const std::vector<CGPoint>& polygon)
{
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        if (onSegment(point, polygon[i], polygon[(i + 1) % polygon.size()])) {
            return true;
        }
    }
    return false;
}

// Non-zero winding number of the implicitly closed polygon around `point`.
int winding(CGPoint point, const std::vector<CGPoint>& polygon)
{
    int number = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const CGPoint& a = polygon[i];
        const CGPoint& b = polygon[(i + 1) % polygon.size()];
        const CGFloat side = (b.x - a.x) * (point.y - a.y) - (point.x - a.x) * (b.y - a.y);
        if (a.y <= point.y && b.y > point.y && side > 0) {
            ++number;
        } else if (a.y > point.y && b.y <= point.y && side < 0) {
            --number;
        }
    }
    return number;
}

} // namespace

UIBezierPath::UIBezierPath(CGRect rect)
{
    const CGRect r = rect.standardized();
    move({r.minX(), r.minY()});
    addLine({r.maxX(), r.minY()});
    addLine({r.maxX(), r.maxY()});
    addLine({r.minX(), r.maxY()});
    close();
}

UIBezierPath UIBezierPath::roundedRect(CGRect rect, CGFloat cornerRadius)
{
    return roundedRect(rect, UIRectCorner::allCorners, {cornerRadius, cornerRadius});
}

UIBezierPath UIBezierPath::roundedRect(CGRect rect, UIRectCorner corners, CGSize cornerRadii)
{
    const CGRect r = rect.standardized();
    const CGFloat limit = std::min(r.width(), r.height()) / 2;
    const CGFloat rx = std::clamp(cornerRadii.width, CGFloat(0), limit);
    const CGFloat ry = std::clamp(cornerRadii.height, CGFloat(0), limit);
    const auto radius = [&](UIRectCorner corner) {
        return ::contains(corners, corner) ? CGSize{rx, ry} : CGSize{};
    };
    const CGSize topLeft = radius(UIRectCorner::topLeft);
    const CGSize topRight = radius(UIRectCorner::topRight);
    const CGSize bottomRight = radius(UIRectCorner::bottomRight);
    const CGSize bottomLeft = radius(UIRectCorner::bottomLeft);

    UIBezierPath path;
    path.move({r.minX() + topLeft.width, r.minY()});
    path.addLine({r.maxX() - topRight.width, r.minY()});
    path.addCorner({r.maxX() - topRight.width, r.minY()}, {r.maxX(), r.minY()},
                   {r.maxX(), r.minY() + topRight.height});
    path.addLine({r.maxX(), r.maxY() - bottomRight.height});
    path.addCorner({r.maxX(), r.maxY() - bottomRight.height}, {r.maxX(), r.maxY()},
                   {r.maxX() - bottomRight.width, r.maxY()});
    path.addLine({r.minX() + bottomLeft.width, r.maxY()});
    path.addCorner({r.minX() + bottomLeft.width, r.maxY()}, {r.minX(), r.maxY()},
                   {r.minX(), r.maxY() - bottomLeft.height});
    path.addLine({r.minX(), r.minY() + topLeft.height});
    path.addCorner({r.minX(), r.minY() + topLeft.height}, {r.minX(), r.minY()},
                   {r.minX() + topLeft.width, r.minY()});
    path.close();
    return path;
}

UIBezierPath UIBezierPath::ovalIn(CGRect rect)
{
    const CGRect r = rect.standardized();
    UIBezierPath path;
    const CGPoint right{r.maxX(), r.midY()};
    const CGPoint bottom{r.midX(), r.maxY()};
    const CGPoint left{r.minX(), r.midY()};
    const CGPoint top{r.midX(), r.minY()};
    path.move(right);
    path.addCorner(right, {r.maxX(), r.maxY()}, bottom);
    path.addCorner(bottom, {r.minX(), r.maxY()}, left);
    path.addCorner(left, {r.minX(), r.minY()}, top);
    path.addCorner(top, {r.maxX(), r.minY()}, right);
    path.close();
    return path;
}

void UIBezierPath::move(CGPoint to)
{
    elements_.push_back({Element::Kind::move, to, {}, {}});
}

void UIBezierPath::addLine(CGPoint to)
{
    elements_.push_back({Element::Kind::line, to, {}, {}});
}

void UIBezierPath::close()
{
    elements_.push_back({Element::Kind::close, {}, {}, {}});
}

void UIBezierPath::addCurve(CGPoint to, CGPoint control1, CGPoint control2)
{
    elements_.push_back({Element::Kind::curve, to, control1, control2});
}

void UIBezierPath::addCorner(CGPoint from, CGPoint corner, CGPoint to)
{
    if (from == corner || to == corner) {
        addLine(to);
        return;
    }
    addCurve(to, towards(from, corner, kQuarterArc), towards(to, corner, kQuarterArc));
}

void UIBezierPath::fill() const
{
    if (auto* context = UIGraphicsGetCurrentContext()) {
        context->fillPath(*this);
    }
}

void UIBezierPath::stroke() const
{
    if (auto* context = UIGraphicsGetCurrentContext()) {
        context->strokePath(*this);
    }
}

std::vector<UIBezierPath::Polygon> UIBezierPath::polygons() const
{
    std::vector<Polygon> result;
    CGPoint start{};
    for (const Element& element : elements_) {
        switch (element.kind) {
        case Element::Kind::move:
            result.push_back({element.point});
            start = element.point;
            break;
        case Element::Kind::line:
            if (result.empty()) {
                result.push_back({start});
            }
            result.back().push_back(element.point);
            break;
        case Element::Kind::curve: {
            if (result.empty()) {
                result.push_back({start});
            }
            const CGPoint from = result.back().back();
            for (int i = 1; i <= kCurveSegments; ++i) {
                result.back().push_back(cubicPoint(from, element.control1, element.control2,
                                                   element.point,
                                                   CGFloat(i) / kCurveSegments));
            }
            break;
        }
        case Element::Kind::close:
            // A segment after a close starts a new subpath at the same point.
            result.push_back({start});
            break;
        }
    }
    return result;
}

CGRect UIBezierPath::bounds() const
{
    if (elements_.empty()) {
        return CGRect::zero();
    }
    CGFloat minX = std::numeric_limits<CGFloat>::infinity();
    CGFloat minY = minX;
    CGFloat maxX = -minX;
    CGFloat maxY = -minX;
    for (const Polygon& polygon : polygons()) {
        for (const CGPoint& point : polygon) {
            minX = std::min(minX, point.x);
            minY = std::min(minY, point.y);
            maxX = std::max(maxX, point.x);
            maxY = std::max(maxY, point.y);
        }
    }
    return CGRect(minX, minY, maxX - minX, maxY - minY);
}

bool UIBezierPath::contains(CGPoint point) const
{
    int total = 0;
    for (const Polygon& polygon : polygons()) {
        if (polygon.size() < 3 || signedArea(polygon) == 0) {
            continue;
        }
        if (onOutline(point, polygon)) {
            return true;
        }
        total += winding(point, polygon);
    }
    return total != 0;
}
