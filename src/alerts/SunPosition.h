#pragma once

#include <ctime>

// The sun's height above the horizon in degrees at a place (degrees north,
// degrees east) and moment, within about half a degree: enough to tell day
// from night for a plant.
double SunElevation(double latitude, double longitude, std::time_t time);
