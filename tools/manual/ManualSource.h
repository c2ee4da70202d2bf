#pragma once

#include "ManualBlock.h"

#include <istream>
#include <stdexcept>
#include <vector>

class ManualSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The manual's source text: a markup of whole lines.
//   # Title        the document's title; exactly one, before everything else
//   ## Heading     a section heading
//   ### Heading    a subsection heading
//   - Item         a bullet item; indented lines right after it continue it
//   | Text         a line set as it stands in a fixed-width font (a path)
//   other text     a paragraph; the lines up to the next blank line, heading or
//                  item join into one
// A blank line ends a paragraph or an item. The text is plain: no inline markup.
class ManualSource {
public:
    // The blocks in reading order; throws ManualSourceError naming the line
    // of the first fault.
    static std::vector<ManualBlock> parse(std::istream& source);
};
