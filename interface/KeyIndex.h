#pragma once

#include "CGFloat.h"

// `value` with its fraction dropped (toward zero), as an index into a table of
// the 128 MIDI notes: below 0, and not a number, give 0; above 127 gives 127.
int truncatedKey(CGFloat value);
