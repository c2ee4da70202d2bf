#pragma once

#include <string_view>

// Both post the print of `text` (and a line end) to the main queue and return
// at once; the texts come out on the main thread, in call order, when its run
// loop gets to them. Callable from any thread.
void debugprint(std::string_view text);
void safeprint(std::string_view text);
