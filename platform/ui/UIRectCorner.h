#pragma once

// Which corners of a rectangle a rounded path rounds.
enum class UIRectCorner : unsigned {
    topLeft = 1,
    topRight = 2,
    bottomLeft = 4,
    bottomRight = 8,
    allCorners = 15,
};

constexpr UIRectCorner operator|(UIRectCorner left, UIRectCorner right)
{
    return static_cast<UIRectCorner>(static_cast<unsigned>(left) | static_cast<unsigned>(right));
}

constexpr UIRectCorner operator&(UIRectCorner left, UIRectCorner right)
{
    return static_cast<UIRectCorner>(static_cast<unsigned>(left) & static_cast<unsigned>(right));
}

constexpr bool contains(UIRectCorner set, UIRectCorner corner)
{
    return (set & corner) == corner;
}
