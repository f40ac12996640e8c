#pragma once

// Sets the minimum to 0 and raises the maximum to the top of a value scale:
// 1.0 below 1, otherwise a whole multiple of 10 with one or two leading
// digits, so a scale of ten steps gets round labels.
void NiceScaleMax(double* minimum, double* maximum);

// The top of a power gauge's scale for a value: its nice top, and never
// below 100, so a quiet plant's needle does not swing over the whole dial.
double GaugeScaleTop(double value);
