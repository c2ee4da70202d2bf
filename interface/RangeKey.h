#pragma once

#include "CGFloat.h"

// The key 0 ... 127 that a note-range end stands for. The panel keeps range
// ends as fractions of 127, and the audio unit hands them over as 32-bit floats
// k / 127; widened and multiplied by 127 they land a hair below k for most keys,
// so a plain truncation would move the range down one key on every round trip.
// The margin is far below a key step, and keeps the drag grid's fractions
// k / 128 on the keys they truncate to. Values outside the keyboard, and values
// that are not numbers, give the nearest end.
int rangeKey(CGFloat fraction);
