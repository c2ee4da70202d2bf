#pragma once

#include "CGSize.h"

// The scale (width: horizontal, height: vertical) that the last draw pass of
// each drawing class chose for its design canvas, shared by all instances of
// that class. The flow view's touch handling divides touch points by
// VelmoraFlowViewScale; the other two are kept but nothing reads them.
// Main thread only.
extern CGSize PluginFrameViewScale; // starts at (1, 1)
extern CGSize WaterfallViewScale;   // starts at (0, 0)
extern CGSize VelmoraFlowViewScale; // starts at (0, 0)

// Puts the three records back to their starting values (tests start each case
// from there).
void resetScaleRecords();

// How a resizing behaviour records the scale it chose: in one of the records...
template <CGSize& Record>
struct RecordsIn {
    static void record(CGSize scale) { Record = scale; }
};

// ...or nowhere.
struct RecordsNothing {
    static void record(CGSize) {}
};
