#pragma once

// The edges a layout constraint can tie together (left-to-right layout, so
// leading is the left edge and trailing the right one).
enum class NSLayoutAttribute { top, leading, bottom, trailing };
