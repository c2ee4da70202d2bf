#include "KeyIndex.h"

#include <cmath>

int truncatedKey(CGFloat value)
{
    const CGFloat key = std::trunc(value);
    if (!(key > 0.0)) {
        return 0;
    }
    return key >= 127.0 ? 127 : static_cast<int>(key);
}
