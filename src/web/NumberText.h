#pragma once

#include <string>

// The value rounded to so many decimals, as the nearest double: sums of
// tenths then print as 12.3, not 12.299999999999999.
double Rounded(double value, int decimals);

// The shortest text that reads back as exactly this value ("359.7", "2e-05",
// "NaN", "+Inf"), as Prometheus and JSON readers take it.
std::string ShortestText(double value);
