#pragma once

#include "CGAffineTransform.h"
#include "CGRect.h"
#include "NSStringDrawing.h"
#include "UIColor.h"

#include <string>
#include <vector>

// One string drawn into a graphics context: what, where (the rectangle in
// user space and the transform to device space at that moment) and how.
struct TextDraw {
    std::string string;
    CGRect rect;
    std::string fontName;
    CGFloat fontSize;
    UIColor color;
    NSTextAlignment alignment;
    CGAffineTransform ctm;
};

// While one lives, every string drawn on its thread is recorded in it (by
// the innermost one when several live), so tests check labels without
// comparing pixels.
class TextDrawRecorder {
public:
    TextDrawRecorder();
    ~TextDrawRecorder();
    TextDrawRecorder(const TextDrawRecorder&) = delete;
    TextDrawRecorder& operator=(const TextDrawRecorder&) = delete;

    const std::vector<TextDraw>& draws() const { return draws_; }
    // The recorded strings, in drawing order.
    std::vector<std::string> strings() const;

    // Hands `draw` to the listening recorder, if any.
    static void record(const TextDraw& draw);

private:
    std::vector<TextDraw> draws_;
};
