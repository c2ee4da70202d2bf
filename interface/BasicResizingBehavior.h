#pragma once

#include "CanvasPlacement.h"

#include <cstdint>
#include <optional>

// A resizing behaviour value, as each drawing class nests its own copy. The copy
// of a class that records its scale names the record (RecordsIn); a copy that
// records nothing (the widget drawers', so that they cannot overwrite the
// panel's scale) says so (RecordsNothing). Equality follows the raw value.
template <class Recorder>
class BasicResizingBehavior {
public:
    using enum ResizingCase;

    constexpr BasicResizingBehavior(ResizingCase resizingCase) : case_(resizingCase) {}

    // The behaviour with the given raw value; none outside 0 ... 3.
    static constexpr std::optional<BasicResizingBehavior> fromRaw(std::int64_t raw)
    {
        if (raw < static_cast<std::int64_t>(aspectFit) || raw > static_cast<std::int64_t>(center)) {
            return std::nullopt;
        }
        return BasicResizingBehavior(static_cast<ResizingCase>(raw));
    }

    constexpr std::int64_t rawValue() const { return static_cast<std::int64_t>(case_); }

    // The rectangle into which the canvas `rect` is drawn inside `target`.
    // Records the chosen scale, except for a zero target.
    CGRect apply(const CGRect& rect, const CGRect& target) const
    {
        const CanvasPlacement placement = CanvasPlacement::of(case_, rect, target);
        if (placement.scale) {
            Recorder::record(*placement.scale);
        }
        return placement.rect;
    }

    constexpr bool operator==(const BasicResizingBehavior&) const = default;

private:
    ResizingCase case_;
};
