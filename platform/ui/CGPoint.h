#pragma once

#include "CGFloat.h"

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;

    bool operator==(const CGPoint&) const = default;
};
