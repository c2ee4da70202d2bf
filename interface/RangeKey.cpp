#include "RangeKey.h"

#include "KeyIndex.h"

int rangeKey(CGFloat fraction)
{
    return truncatedKey(fraction * 127.0 + 1e-4);
}
