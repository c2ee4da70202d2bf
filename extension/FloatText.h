#pragma once

#include <string>

// The shortest decimal text that reads back as `value`, always with a digit
// after the point ("1.0", "0.5"); large and tiny magnitudes in exponent form
// ("1e+20"), and "inf", "-inf" and "nan" as they are.
std::string floatText(float value);
