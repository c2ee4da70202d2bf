#pragma once

#include <cstdint>

// The four ways a drawing resizes its fixed design canvas into a frame; the raw
// values are the ones stored interface descriptions use.
enum class ResizingCase : std::int64_t {
    aspectFit = 0,  // uniform, the smaller axis ratio: all of the canvas shows
    aspectFill = 1, // uniform, the larger axis ratio: the canvas covers the frame
    stretch = 2,    // each axis its own ratio: the canvas fills the frame exactly
    center = 3,     // natural size
};
