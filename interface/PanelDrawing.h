#pragma once

#include "CGRect.h"
#include "NSStringDrawing.h"
#include "UIBezierPath.h"
#include "UIColor.h"

#include <functional>
#include <string>

class CGContext;

// Drawing steps shared by the flow panel and its widget drawers. They draw
// into the current graphics context and leave its state as they found it.

// How a stroke ends and joins: rounded, or a new path's butt caps and miter
// joins.
enum class StrokeEnds { round, plain };

void fillPath(const UIBezierPath& path, const UIColor& color);
void strokePath(UIBezierPath path, const UIColor& color, CGFloat width, StrokeEnds ends);
// An open path through `points`, stroked.
void strokePolyline(std::initializer_list<CGPoint> points, const UIColor& color, CGFloat width,
                    StrokeEnds ends);

struct TextStyle {
    const char* fontName;
    CGFloat size;
    UIColor color;
    NSTextAlignment alignment;
};

// `text` wrapped at `rect`'s width, centred vertically in `rect` by its
// measured height (or from its top) and clipped to `rect`. Nothing is drawn
// when the font cannot be had.
enum class TextPlacement { centred, top };
void drawText(const std::string& text, CGRect rect, const TextStyle& style,
              TextPlacement placement = TextPlacement::centred);

// Saves the graphics state, maps the design canvas `canvas` onto `placed`,
// runs `drawing` in canvas units and restores the state.
void drawOnCanvas(CGContext& context, CGRect canvas, CGRect placed, const std::function<void()>& drawing);
