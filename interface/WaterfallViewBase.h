#pragma once

#include "BasicResizingBehavior.h"
#include "CGFloat.h"
#include "CGRect.h"
#include "ScaleRecords.h"
#include "UIColor.h"

#include <array>
#include <cstddef>
#include <vector>

class CGContext;
class WaterfallView;

// Draws the waterfall: on every pass the view's previous picture moves by one
// unit and a new row of 128 cells (one per MIDI note) is painted in the accent
// colour, each cell as opaque as its note is loud. The design canvas is 512
// units wide and `speed` units tall, so a taller canvas packs more rows into
// the view: a slower picture with a longer history. Main thread only.
class WaterfallViewBase {
public:
    // Records its scale in WaterfallViewScale.
    using ResizingBehavior = BasicResizingBehavior<RecordsIn<WaterfallViewScale>>;

    static constexpr CGFloat kCanvasWidth = 512;
    static constexpr std::size_t kNoteCount = 128;

    WaterfallViewBase() = default;
    WaterfallViewBase(const WaterfallViewBase&) = delete;
    WaterfallViewBase& operator=(const WaterfallViewBase&) = delete;

    // The view that owns this object, whose snapshot and controller a pass
    // uses; set by the view. Without it a pass draws nothing.
    WaterfallView* parent = nullptr;
    // False: the new row at the top, the history moving down; true: at the
    // bottom, the history moving up.
    bool up = false;
    // True: a cell's opacity is its magnitude over the row's largest; false:
    // its magnitude times 0.01. Either way clamped to 0 ... 1.
    bool isNormalized = true;
    // Height of the design canvas in units.
    CGFloat speed = 128;
    // Factor on every cell's opacity.
    CGFloat contrast = 1;
    // The magnitudes of the last row taken in (index = MIDI note), with values
    // that were not finite taken as 0; the controller's key highlighting reads
    // them between passes.
    std::array<CGFloat, kNoteCount> values{};
    // Largest and smallest of the last row, never below / above 0.
    CGFloat magnitudeMax = 0;
    CGFloat magnitudeMin = 0;
    UIColor colorEmphasize{0.174, 0.637, 0.756, 1.0};
    // Kept; the drawing does not use it.
    UIColor colorContrast{0.39, 0.39, 0.39, 1.0};

    // One pass into the current graphics context, as inside the view's draw;
    // without one, or without a parent, nothing happens.
    void draw(CGRect frame = CGRect(0, 0, kCanvasWidth, 128),
              ResizingBehavior resizing = ResizingBehavior::stretch);

private:
    // The parent's snapshot of its previous picture, one unit down (or up).
    void drawMoveScreen(CGContext& context) const;
    // A new row from the controller's magnitudes.
    void drawMagnitudes(CGContext& context);
    // Stores the magnitudes in `values` and finds the row's extremes; returns
    // how many notes the row has.
    std::size_t takeMagnitudes(const std::vector<float>& magnitudes);
    // A cell's opacity before the contrast; `norm` is 1 over the row's
    // largest magnitude.
    CGFloat opacity(CGFloat magnitude, CGFloat norm) const;
};
