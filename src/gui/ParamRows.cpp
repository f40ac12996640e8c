#include "ParamRows.h"

#include "res/ResourceIds.h"

const std::array<ParamRow, PARAM_ROW_COUNT>& ParamRows() {
    static const std::array<ParamRow, PARAM_ROW_COUNT> rows{{
        {0, "Vpv-Start", IDC_PARAM_VPV_START, "V", 0.1, 1, 0, 150, 130, 180, "PV start-up voltage",
         IDC_VPV_START_DEFAULT, IDC_VPV_START_MIN, IDC_VPV_START_MAX},
        {1, "T-Start", IDC_PARAM_T_START, "S", 1, 0, 0, 20, 10, 200, "Time to connect grid",
         IDC_T_START_DEFAULT, IDC_T_START_MIN, IDC_T_START_MAX},
        {4, "Vac-Min", IDC_PARAM_VAC_MIN, "V", 0.1, 1, 0, 190, 180, 250,
         "Minimum operational grid voltage", IDC_VAC_MIN_DEFAULT, IDC_VAC_MIN_MIN, IDC_VAC_MIN_MAX},
        {5, "Vac-Max", IDC_PARAM_VAC_MAX, "V", 0.1, 1, 0, 250, 190, 300,
         "Maximum operational grid voltage", IDC_VAC_MAX_DEFAULT, IDC_VAC_MAX_MIN, IDC_VAC_MAX_MAX},
        {6, "Fac-Min", IDC_PARAM_FAC_MIN, "Hz", 0.01, 2, 2, 49.80, 45.00, 52.00,
         "Minimum operational grid Frequency", IDC_FAC_MIN_DEFAULT, IDC_FAC_MIN_MIN,
         IDC_FAC_MIN_MAX},
        {7, "Fac-Max", IDC_PARAM_FAC_MAX, "Hz", 0.01, 2, 2, 50.20, 48.00, 52.00,
         "Maximum operational grid Frequency", IDC_FAC_MAX_DEFAULT, IDC_FAC_MAX_MIN,
         IDC_FAC_MAX_MAX},
    }};
    return rows;
}
