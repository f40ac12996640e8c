#include "StateFields.h"

#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <array>
#include <set>
#include <string_view>

namespace {
constexpr const char* MEASUREMENT = "measurement";
constexpr const char* TOTAL_INCREASING = "total_increasing";

constexpr StateField TEMPERATURE{"temperature_c", "Temperature", "temperature", "°C",
                                 MEASUREMENT,     true};
constexpr StateField VPV{"vpv_v", "PV voltage", "voltage", "V", MEASUREMENT, true};
constexpr StateField VPV1{"vpv1_v", "PV voltage 1", "voltage", "V", MEASUREMENT, true};
constexpr StateField VPV2{"vpv2_v", "PV voltage 2", "voltage", "V", MEASUREMENT, true};
constexpr StateField VPV3{"vpv3_v", "PV voltage 3", "voltage", "V", MEASUREMENT, true};
constexpr StateField IPV1{"ipv1_a", "PV current 1", "current", "A", MEASUREMENT, true};
constexpr StateField IPV2{"ipv2_a", "PV current 2", "current", "A", MEASUREMENT, true};
constexpr StateField IPV3{"ipv3_a", "PV current 3", "current", "A", MEASUREMENT, true};
constexpr StateField IAC{"iac_a", "Grid current", "current", "A", MEASUREMENT, true};
constexpr StateField VAC{"vac_v", "Grid voltage", "voltage", "V", MEASUREMENT, true};
constexpr StateField FAC{"fac_hz", "Grid frequency", "frequency", "Hz", MEASUREMENT, true};
constexpr StateField PAC{"pac_w", "Output power", "power", "W", MEASUREMENT, true};
constexpr StateField ZAC{"zac_ohm", "Grid impedance", nullptr, "Ω", MEASUREMENT, true};
constexpr StateField E_TOTAL{"e_total_kwh", "Lifetime energy", "energy",
                             "kWh",         TOTAL_INCREASING,  true};
constexpr StateField H_TOTAL{"h_total_h", "Operating hours", "duration",
                             "h",         TOTAL_INCREASING,  true};
constexpr StateField E_TODAY{"e_today_kwh", "Energy today",   "energy",
                             "kWh",         TOTAL_INCREASING, true};
constexpr StateField IAC_L1{"iac_l1_a", "Grid current L1", "current", "A", MEASUREMENT, true};
constexpr StateField IAC_L2{"iac_l2_a", "Grid current L2", "current", "A", MEASUREMENT, true};
constexpr StateField IAC_L3{"iac_l3_a", "Grid current L3", "current", "A", MEASUREMENT, true};
constexpr StateField VAC_L1{"vac_l1_v", "Grid voltage L1", "voltage", "V", MEASUREMENT, true};
constexpr StateField VAC_L2{"vac_l2_v", "Grid voltage L2", "voltage", "V", MEASUREMENT, true};
constexpr StateField VAC_L3{"vac_l3_v", "Grid voltage L3", "voltage", "V", MEASUREMENT, true};
constexpr StateField FAC_L1{"fac_l1_hz", "Grid frequency L1", "frequency", "Hz", MEASUREMENT, true};
constexpr StateField FAC_L2{"fac_l2_hz", "Grid frequency L2", "frequency", "Hz", MEASUREMENT, true};
constexpr StateField FAC_L3{"fac_l3_hz", "Grid frequency L3", "frequency", "Hz", MEASUREMENT, true};
constexpr StateField PAC_L1{"pac_l1_w", "Output power L1", "power", "W", MEASUREMENT, true};
constexpr StateField PAC_L2{"pac_l2_w", "Output power L2", "power", "W", MEASUREMENT, true};
constexpr StateField PAC_L3{"pac_l3_w", "Output power L3", "power", "W", MEASUREMENT, true};
constexpr StateField E_TOTAL_L1{
    "e_total_l1_kwh", "Lifetime energy L1", "energy", "kWh", TOTAL_INCREASING, true};
constexpr StateField E_TOTAL_L2{
    "e_total_l2_kwh", "Lifetime energy L2", "energy", "kWh", TOTAL_INCREASING, true};
constexpr StateField E_TOTAL_L3{
    "e_total_l3_kwh", "Lifetime energy L3", "energy", "kWh", TOTAL_INCREASING, true};

// Values at the last fault stay in the state message only.
constexpr StateField FAULT_TEMPERATURE{"fault_temperature_c", "", nullptr, "°C", nullptr, false};
constexpr StateField FAULT_VPV{"fault_vpv_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_VPV1{"fault_vpv1_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_VPV2{"fault_vpv2_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_VPV3{"fault_vpv3_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_VAC{"fault_vac_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_VAC_L1{"fault_vac_l1_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_VAC_L2{"fault_vac_l2_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_VAC_L3{"fault_vac_l3_v", "", nullptr, "V", nullptr, false};
constexpr StateField FAULT_FAC{"fault_fac_hz", "", nullptr, "Hz", nullptr, false};
constexpr StateField FAULT_FAC_L1{"fault_fac_l1_hz", "", nullptr, "Hz", nullptr, false};
constexpr StateField FAULT_FAC_L2{"fault_fac_l2_hz", "", nullptr, "Hz", nullptr, false};
constexpr StateField FAULT_FAC_L3{"fault_fac_l3_hz", "", nullptr, "Hz", nullptr, false};
constexpr StateField FAULT_GFCI{"fault_gfci_a", "", nullptr, "A", nullptr, false};
constexpr StateField FAULT_ZAC{"fault_zac_ohm", "", nullptr, "Ω", nullptr, false};

constexpr StateField WORK_MODE_TEXT{"work_mode_text", "Work mode", nullptr, nullptr, nullptr, true};
constexpr StateField FAULT_TEXT{"fault_text", "Fault", nullptr, nullptr, nullptr, true};

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
    {VPV, {0x40, 0x01}, [](const S& r) { return Tenths(r.m_nVpv); }},
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
// 0x07/0x08; 0x47/0x48 and their phase twins count each phase.
using T = ThreeRuntimeData;
const Row<T> THREE_ROWS[] = {
    {TEMPERATURE, {0x00, 0}, [](const T& r) { return r.m_nTemp / 10.0; }},
    {VPV, {0x40, 0x01}, [](const T& r) { return Tenths(r.m_nVpv); }},
    {VPV1, {0x01, 0}, [](const T& r) { return Tenths(r.m_nVpv1); }},
    {VPV2, {0x02, 0x80}, [](const T& r) { return Tenths(r.m_nVpv2); }},
    {VPV3, {0x03, 0xC0}, [](const T& r) { return Tenths(r.m_nVpv3); }},
    {IPV1, {0x04, 0x46}, [](const T& r) { return Tenths(r.m_nIpv1); }},
    {IPV2, {0x05, 0x86}, [](const T& r) { return Tenths(r.m_nIpv2); }},
    {IPV3, {0x06, 0xC6}, [](const T& r) { return Tenths(r.m_nIpv3); }},
    {FAC, {0x43, 0}, [](const T& r) { return Hundredths(r.m_nFac); }},
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

template <class Record, std::size_t N>
void AddOffered(const Row<Record> (&rows)[N], const Record& record, const OfferedFields& offered,
                std::vector<FieldValue>& values) {
    for (const Row<Record>& row : rows) {
        if (offered[row.identifiers[0]] ||
            (row.identifiers[1] != 0 && offered[row.identifiers[1]])) {
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

const std::array<const StateField*, 2>& TextSensors() {
    static const std::array<const StateField*, 2> sensors{&WORK_MODE_TEXT, &FAULT_TEXT};
    return sensors;
}

std::vector<const StateField*> AllSensors() {
    std::vector<const StateField*> fields(TextSensors().begin(), TextSensors().end());
    std::set<std::string_view> seen;
    const auto add = [&](const StateField& field) {
        if (field.sensor && seen.insert(field.key).second) {
            fields.push_back(&field);
        }
    };
    for (const auto& row : SINGLE_ROWS) {
        add(row.field);
    }
    for (const auto& row : THREE_ROWS) {
        add(row.field);
    }
    return fields;
}
