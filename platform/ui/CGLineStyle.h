#pragma once

// How a stroke ends and how its segments meet.
enum class CGLineCap { butt, round, square };
enum class CGLineJoin { miter, round, bevel };
