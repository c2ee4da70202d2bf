#pragma once

#include <string>

// The shortest decimal text that reads back as the same 32-bit value, always
// with a digit after the point: 0.25, 1.0, 440.0. Written without an exponent.
std::string shortestText(float value);
