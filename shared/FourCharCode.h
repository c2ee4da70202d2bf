#pragma once

#include <cstdint>
#include <string>

// The four characters of a four-character code such as 'aumf', from the most
// significant byte to the least, each byte decoded as Mac OS Roman and the
// text returned as UTF-8. Every byte value is a character in that set, so the
// result always has four characters (0 gives four NUL characters).
std::string stringValue(std::uint32_t code);
