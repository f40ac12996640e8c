#pragma once

#include <ctime>

// One point a chart draws of a day series, in time order. A point inside a
// bucket of samples is joined to the one before when the bucket's samples
// were never further apart than stepWithin seconds; any other point when the
// two are close in time.
struct CCurveVertex {
    std::time_t m_time = 0;
    double m_dValue = 0.0;
    int m_nStepWithin = -1; // -1: join by the distance to the previous point
};
