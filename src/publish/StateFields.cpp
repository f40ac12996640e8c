#include "StateFields.h"

#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <array>

namespace {
constexpr const char* MEASUREMENT = "measurement";
constexpr const char* TOTAL_INCREASING = "total_increasing";
using Counter = StateField::Counter;

constexpr StateField Measured(const char* key, const char* name, const char* deviceClass,
                              const char* unit, int precision) {
    return {.key = key,
            .name = name,
            .deviceClass = deviceClass,
            .unit = unit,
            .stateClass = MEASUREMENT,
            .precision = precision};
}

constexpr StateField Energy(const char* key, const char* name, int precision, Counter counter) {
    return {.key = key,
            .name = name,
            .deviceClass = "energy",
            .unit = "kWh",
            .stateClass = TOTAL_INCREASING,
            .precision = precision,
            .counter = counter};
}

constexpr StateField AtFault(const char* key, const char* unit) {
    return {.key = key, .unit = unit};
}

constexpr StateField TEMPERATURE{.key = "temperature_c",
                                 .name = "Temperature",
                                 .deviceClass = "temperature",
                                 .unit = "°C",
                                 .stateClass = MEASUREMENT,
                                 .precision = 1,
                                 .diagnostic = true};
constexpr StateField VPV = Measured("vpv_v", "PV voltage", "voltage", "V", 1);
constexpr StateField VPV1 = Measured("vpv1_v", "PV voltage 1", "voltage", "V", 1);
constexpr StateField VPV2 = Measured("vpv2_v", "PV voltage 2", "voltage", "V", 1);
constexpr StateField VPV3 = Measured("vpv3_v", "PV voltage 3", "voltage", "V", 1);
constexpr StateField IPV1 = Measured("ipv1_a", "PV current 1", "current", "A", 1);
constexpr StateField IPV2 = Measured("ipv2_a", "PV current 2", "current", "A", 1);
constexpr StateField IPV3 = Measured("ipv3_a", "PV current 3", "current", "A", 1);
constexpr StateField IAC = Measured("iac_a", "Grid current", "current", "A", 1);
constexpr StateField VAC = Measured("vac_v", "Grid voltage", "voltage", "V", 1);
constexpr StateField FAC = Measured("fac_hz", "Grid frequency", "frequency", "Hz", 2);
constexpr StateField PAC = Measured("pac_w", "Output power", "power", "W", 0);
constexpr StateField ZAC{.key = "zac_ohm",
                         .name = "Grid impedance",
                         .unit = "Ω",
                         .stateClass = MEASUREMENT,
                         .precision = 3,
                         .diagnostic = true};
constexpr StateField E_TOTAL = Energy("e_total_kwh", "Lifetime energy", 1, Counter::Lifetime);
constexpr StateField H_TOTAL{.key = "h_total_h",
                             .name = "Operating hours",
                             .deviceClass = "duration",
                             .unit = "h",
                             .stateClass = TOTAL_INCREASING,
                             .diagnostic = true,
                             .counter = Counter::Lifetime};
constexpr StateField E_TODAY = Energy("e_today_kwh", "Energy today", 2, Counter::Daily);
constexpr StateField IAC_L1 = Measured("iac_l1_a", "Grid current L1", "current", "A", 1);
constexpr StateField IAC_L2 = Measured("iac_l2_a", "Grid current L2", "current", "A", 1);
constexpr StateField IAC_L3 = Measured("iac_l3_a", "Grid current L3", "current", "A", 1);
constexpr StateField VAC_L1 = Measured("vac_l1_v", "Grid voltage L1", "voltage", "V", 1);
constexpr StateField VAC_L2 = Measured("vac_l2_v", "Grid voltage L2", "voltage", "V", 1);
constexpr StateField VAC_L3 = Measured("vac_l3_v", "Grid voltage L3", "voltage", "V", 1);
constexpr StateField FAC_L1 = Measured("fac_l1_hz", "Grid frequency L1", "frequency", "Hz", 2);
constexpr StateField FAC_L2 = Measured("fac_l2_hz", "Grid frequency L2", "frequency", "Hz", 2);
constexpr StateField FAC_L3 = Measured("fac_l3_hz", "Grid frequency L3", "frequency", "Hz", 2);
constexpr StateField PAC_L1 = Measured("pac_l1_w", "Output power L1", "power", "W", 0);
constexpr StateField PAC_L2 = Measured("pac_l2_w", "Output power L2", "power", "W", 0);
constexpr StateField PAC_L3 = Measured("pac_l3_w", "Output power L3", "power", "W", 0);
constexpr StateField E_TOTAL_L1 =
    Energy("e_total_l1_kwh", "Lifetime energy L1", 1, Counter::Lifetime);
constexpr StateField E_TOTAL_L2 =
    Energy("e_total_l2_kwh", "Lifetime energy L2", 1, Counter::Lifetime);
constexpr StateField E_TOTAL_L3 =
    Energy("e_total_l3_kwh", "Lifetime energy L3", 1, Counter::Lifetime);

constexpr StateField FAULT_TEMPERATURE = AtFault("fault_temperature_c", "°C");
constexpr StateField FAULT_VPV = AtFault("fault_vpv_v", "V");
constexpr StateField FAULT_VPV1 = AtFault("fault_vpv1_v", "V");
constexpr StateField FAULT_VPV2 = AtFault("fault_vpv2_v", "V");
constexpr StateField FAULT_VPV3 = AtFault("fault_vpv3_v", "V");
constexpr StateField FAULT_VAC = AtFault("fault_vac_v", "V");
constexpr StateField FAULT_VAC_L1 = AtFault("fault_vac_l1_v", "V");
constexpr StateField FAULT_VAC_L2 = AtFault("fault_vac_l2_v", "V");
constexpr StateField FAULT_VAC_L3 = AtFault("fault_vac_l3_v", "V");
constexpr StateField FAULT_FAC = AtFault("fault_fac_hz", "Hz");
constexpr StateField FAULT_FAC_L1 = AtFault("fault_fac_l1_hz", "Hz");
constexpr StateField FAULT_FAC_L2 = AtFault("fault_fac_l2_hz", "Hz");
constexpr StateField FAULT_FAC_L3 = AtFault("fault_fac_l3_hz", "Hz");
constexpr StateField FAULT_GFCI = AtFault("fault_gfci_a", "A");
constexpr StateField FAULT_ZAC = AtFault("fault_zac_ohm", "Ω");

// A field, the identifiers that fill it (0 where there is only one) and its
// value in SI units. Dividing by a power of ten keeps 123.4 from printing as
// 123.40000000000001.
template <class Record>
struct Row {
    const StateField& field;
    std::array<std::uint8_t, 2> identifiers;
    double (*value)(const Record&);
};

double Tenths(std::uint32_t raw) {
    return raw / 10.0;
}
double Hundredths(std::uint32_t raw) {
    return raw / 100.0;
}
double Thousandths(std::uint32_t raw) {
    return raw / 1000.0;
}

using S = SingleRuntimeData;
const Row<S> SINGLE_ROWS[] = {
    {TEMPERATURE, {0x00, 0}, [](const S& r) { return r.m_nTemp / 10.0; }},
    {VPV, {0x40, 0}, [](const S& r) { return Tenths(r.m_nVpv); }},
    {VPV1, {0x01, 0}, [](const S& r) { return Tenths(r.m_nVpv1); }},
    {VPV2, {0x02, 0}, [](const S& r) { return Tenths(r.m_nVpv2); }},
    {VPV3, {0x03, 0}, [](const S& r) { return Tenths(r.m_nVpv3); }},
    {IPV1, {0x04, 0}, [](const S& r) { return Tenths(r.m_nIpv1); }},
    {IPV2, {0x05, 0}, [](const S& r) { return Tenths(r.m_nIpv2); }},
    {IPV3, {0x06, 0}, [](const S& r) { return Tenths(r.m_nIpv3); }},
    {IAC, {0x41, 0}, [](const S& r) { return Tenths(r.m_nIac); }},
    {VAC, {0x42, 0}, [](const S& r) { return Tenths(r.m_nVac); }},
    {FAC, {0x43, 0}, [](const S& r) { return Hundredths(r.m_nFac); }},
    {PAC, {0x44, 0}, [](const S& r) { return Tenths(r.m_nPac); }},
    {ZAC, {0x45, 0}, [](const S& r) { return Thousandths(r.m_nZac); }},
    {E_TOTAL, {0x47, 0x48}, [](const S& r) { return Tenths(r.m_dwETotal); }},
    {H_TOTAL, {0x49, 0x4A}, [](const S& r) { return double(r.m_dwHTotal); }},
    {E_TODAY, {0x0D, 0}, [](const S& r) { return Hundredths(r.m_nEToday); }},
    {FAULT_VPV, {0x3A, 0x7C}, [](const S& r) { return Tenths(r.m_nFaultVpv); }},
    {FAULT_TEMPERATURE, {0x39, 0x7B}, [](const S& r) { return r.m_nFaultTemp / 10.0; }},
    {FAULT_VAC, {0x78, 0}, [](const S& r) { return Tenths(r.m_nFaultVac); }},
    {FAULT_FAC, {0x79, 0}, [](const S& r) { return Hundredths(r.m_nFaultFac); }},
    {FAULT_GFCI, {0x3D, 0x7D}, [](const S& r) { return Thousandths(r.m_nFaultGfci); }},
    {FAULT_ZAC, {0x7A, 0}, [](const S& r) { return Thousandths(r.m_nFaultZac); }},
};

// A three-phase inverter's lifetime energy is the counter of identifiers
// 0x07/0x08; 0x47/0x48 and their phase twins count each phase. Identifier
// 0x43 is both the frequency and that of phase 1: it is published once, as
// the first phase's.
using T = ThreeRuntimeData;
const Row<T> THREE_ROWS[] = {
    {TEMPERATURE, {0x00, 0}, [](const T& r) { return r.m_nTemp / 10.0; }},
    {VPV, {0x40, 0}, [](const T& r) { return Tenths(r.m_nVpv); }},
    {VPV1, {0x01, 0}, [](const T& r) { return Tenths(r.m_nVpv1); }},
    {VPV2, {0x02, 0x80}, [](const T& r) { return Tenths(r.m_nVpv2); }},
    {VPV3, {0x03, 0xC0}, [](const T& r) { return Tenths(r.m_nVpv3); }},
    {IPV1, {0x04, 0x46}, [](const T& r) { return Tenths(r.m_nIpv1); }},
    {IPV2, {0x05, 0x86}, [](const T& r) { return Tenths(r.m_nIpv2); }},
    {IPV3, {0x06, 0xC6}, [](const T& r) { return Tenths(r.m_nIpv3); }},
    {PAC, {0x0B, 0}, [](const T& r) { return Tenths(r.m_nPac); }},
    {ZAC, {0x45, 0}, [](const T& r) { return Thousandths(r.m_nZac); }},
    {E_TOTAL, {0x07, 0x08}, [](const T& r) { return Tenths(r.m_dwETotal); }},
    {H_TOTAL, {0x09, 0x0A}, [](const T& r) { return double(r.m_dwHTotal); }},
    {E_TODAY, {0x0D, 0}, [](const T& r) { return Hundredths(r.m_nEToday); }},
    {IAC_L1, {0x41, 0}, [](const T& r) { return Tenths(r.m_nIacPhase[0]); }},
    {IAC_L2, {0x81, 0}, [](const T& r) { return Tenths(r.m_nIacPhase[1]); }},
    {IAC_L3, {0xC1, 0}, [](const T& r) { return Tenths(r.m_nIacPhase[2]); }},
    {VAC_L1, {0x42, 0}, [](const T& r) { return Tenths(r.m_nVacPhase[0]); }},
    {VAC_L2, {0x82, 0}, [](const T& r) { return Tenths(r.m_nVacPhase[1]); }},
    {VAC_L3, {0xC2, 0}, [](const T& r) { return Tenths(r.m_nVacPhase[2]); }},
    {FAC_L1, {0x43, 0}, [](const T& r) { return Hundredths(r.m_nFacPhase[0]); }},
    {FAC_L2, {0x83, 0}, [](const T& r) { return Hundredths(r.m_nFacPhase[1]); }},
    {FAC_L3, {0xC3, 0}, [](const T& r) { return Hundredths(r.m_nFacPhase[2]); }},
    {PAC_L1, {0x44, 0}, [](const T& r) { return Tenths(r.m_nPacPhase[0]); }},
    {PAC_L2, {0x84, 0}, [](const T& r) { return Tenths(r.m_nPacPhase[1]); }},
    {PAC_L3, {0xC4, 0}, [](const T& r) { return Tenths(r.m_nPacPhase[2]); }},
    {E_TOTAL_L1, {0x47, 0x48}, [](const T& r) { return Tenths(r.m_dwETotalPhase[0]); }},
    {E_TOTAL_L2, {0x87, 0x88}, [](const T& r) { return Tenths(r.m_dwETotalPhase[1]); }},
    {E_TOTAL_L3, {0xC7, 0xC8}, [](const T& r) { return Tenths(r.m_dwETotalPhase[2]); }},
    {FAULT_VPV1, {0x3A, 0}, [](const T& r) { return Tenths(r.m_nFaultVpv[0]); }},
    {FAULT_VPV2, {0x3B, 0}, [](const T& r) { return Tenths(r.m_nFaultVpv[1]); }},
    {FAULT_VPV3, {0x3C, 0}, [](const T& r) { return Tenths(r.m_nFaultVpv[2]); }},
    {FAULT_TEMPERATURE, {0x39, 0}, [](const T& r) { return r.m_nFaultTemp / 10.0; }},
    {FAULT_VAC_L1, {0x78, 0}, [](const T& r) { return Tenths(r.m_nFaultVac[0]); }},
    {FAULT_VAC_L2, {0xB8, 0}, [](const T& r) { return Tenths(r.m_nFaultVac[1]); }},
    {FAULT_VAC_L3, {0xF8, 0}, [](const T& r) { return Tenths(r.m_nFaultVac[2]); }},
    {FAULT_FAC_L1, {0x79, 0}, [](const T& r) { return Hundredths(r.m_nFaultFac[0]); }},
    {FAULT_FAC_L2, {0xB9, 0}, [](const T& r) { return Hundredths(r.m_nFaultFac[1]); }},
    {FAULT_FAC_L3, {0xF9, 0}, [](const T& r) { return Hundredths(r.m_nFaultFac[2]); }},
    {FAULT_GFCI, {0x3D, 0}, [](const T& r) { return Thousandths(r.m_nFaultGfci); }},
};

// An inverter that sends string 1's voltage gives its PV voltage from the same
// identifier, or one of the strings': one sensor per string is enough.
bool Repeated(const StateField& field, const OfferedFields& offered) {
    return &field == &VPV && offered[0x01];
}

template <class Record, std::size_t N>
void AddOffered(const Row<Record> (&rows)[N], const Record& record, const OfferedFields& offered,
                std::vector<FieldValue>& values) {
    for (const Row<Record>& row : rows) {
        const bool sent =
            offered[row.identifiers[0]] || (row.identifiers[1] != 0 && offered[row.identifiers[1]]);
        if (sent && !Repeated(row.field, offered)) {
            values.push_back({&row.field, row.value(record)});
        }
    }
}
} // namespace

OfferedFields OfferedFieldsOf(const std::vector<std::uint8_t>& fieldList) {
    OfferedFields offered;
    for (const std::uint8_t identifier : fieldList) {
        offered.set(identifier);
    }
    return offered;
}

void DecodedValues(const RuntimeData& data, const OfferedFields& offered,
                   std::vector<FieldValue>& values) {
    values.clear();
    if (const auto* single = dynamic_cast<const SingleRuntimeData*>(&data)) {
        AddOffered(SINGLE_ROWS, *single, offered, values);
    } else if (const auto* three = dynamic_cast<const ThreeRuntimeData*>(&data)) {
        AddOffered(THREE_ROWS, *three, offered, values);
    }
}
