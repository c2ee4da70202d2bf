#pragma once

#include "CGFloat.h"

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;

    bool operator==(const CGSize&) const = default;
};
