#pragma once

#include "BasicResizingBehavior.h"
#include "ScaleRecords.h"

// The waterfall drawing's resizing behaviour: records its scale in
// WaterfallViewScale.
using WaterfallResizingBehavior = BasicResizingBehavior<RecordsIn<WaterfallViewScale>>;
