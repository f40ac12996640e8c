#pragma once

// Sets the minimum to 0 and raises the maximum to the top of a value scale:
// 1.0 below 1, otherwise a whole multiple of 10 with one or two leading
// digits, so a scale of ten steps gets round labels.
void NiceScaleMax(double* minimum, double* maximum);
