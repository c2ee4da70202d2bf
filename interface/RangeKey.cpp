#include "RangeKey.h"

#include <cmath>

int rangeKey(CGFloat fraction)
{
    const CGFloat key = std::trunc(fraction * 127.0 + 1e-4);
    if (!(key > 0.0)) {
        return 0;
    }
    return key >= 127.0 ? 127 : static_cast<int>(key);
}
