#pragma once

// The control events a control sends to its targets; a bit mask.
enum class UIControlEvents : unsigned {
    touchDown = 1u << 0,
    touchDragInside = 1u << 2,
    touchDragOutside = 1u << 3,
    touchUpInside = 1u << 6,
    touchUpOutside = 1u << 7,
    touchCancel = 1u << 8,
    valueChanged = 1u << 12,
    allEvents = 0xFFFFFFFFu,
};

constexpr UIControlEvents operator|(UIControlEvents left, UIControlEvents right)
{
    return static_cast<UIControlEvents>(static_cast<unsigned>(left) |
                                        static_cast<unsigned>(right));
}

constexpr bool intersects(UIControlEvents left, UIControlEvents right)
{
    return (static_cast<unsigned>(left) & static_cast<unsigned>(right)) != 0;
}
