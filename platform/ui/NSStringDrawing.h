#pragma once

#include "CGRect.h"
#include "UIColor.h"
#include "UIFont.h"

#include <string>

enum class NSTextAlignment { left, center, right };

// What a string is drawn with.
struct NSStringAttributes {
    UIFont font;
    UIColor foregroundColor = UIColor::black();
    NSTextAlignment alignment = NSTextAlignment::left;
    // When positive and the text wraps, at most this many lines are laid
    // out; the last one ends in an ellipsis where its paragraph is cut short.
    int maximumNumberOfLines = 0;
};

// The size `string` takes when laid out from its first line's top, wrapped
// at `constrainedSize.width` (no wrapping when that is not a positive finite
// number); the height is not limited. The rectangle's origin is (0, 0).
CGRect boundingRect(const std::string& string, CGSize constrainedSize,
                    const NSStringAttributes& attributes);

// Draws `string` into the current graphics context, laid out as by
// `boundingRect` with `rect`'s width, its first line's top at `rect`'s top;
// lines beyond `rect`'s height are drawn too (clip to keep them out). The
// draw is recorded when a TextDrawRecorder listens, painted or not. Inside a
// class that has a `draw` member, call it as `::draw`.
void draw(const std::string& string, CGRect rect, const NSStringAttributes& attributes);
