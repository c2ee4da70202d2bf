#pragma once

#include <string>

// One block of the manual: a run of text of one kind.
struct ManualBlock {
    enum class Kind { title, heading, subheading, paragraph, item, verbatim };

    Kind kind;
    std::string text;

    bool operator==(const ManualBlock&) const = default;
};
