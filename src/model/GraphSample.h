#pragma once

#include <ctime>

struct CGraphSample {
    std::time_t m_time = 0; // local calendar time of the reading, whole seconds
    double m_dValue = 0.0;
};
