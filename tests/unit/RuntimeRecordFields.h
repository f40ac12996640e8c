#pragma once

#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Every field of a runtime record by name, so that a test can compare whole
// records and a failure names the field that differs.
using FieldList = std::vector<std::pair<std::string, std::int64_t>>;

inline void AddPhases(FieldList& fields, const std::string& name, const auto& values) {
    for (int i = 0; i < 3; ++i) {
        fields.emplace_back(name + "[" + std::to_string(i) + "]", values[i]);
    }
}

inline FieldList Fields(const SingleRuntimeData& r) {
    return {{"m_tSample", r.m_tSample},
            {"m_nTemp", r.m_nTemp},
            {"m_nVpv", r.m_nVpv},
            {"m_nVpv1", r.m_nVpv1},
            {"m_nVpv2", r.m_nVpv2},
            {"m_nVpv3", r.m_nVpv3},
            {"m_nIpv1", r.m_nIpv1},
            {"m_nIpv2", r.m_nIpv2},
            {"m_nIpv3", r.m_nIpv3},
            {"m_nIac", r.m_nIac},
            {"m_nVac", r.m_nVac},
            {"m_nFac", r.m_nFac},
            {"m_nPac", r.m_nPac},
            {"m_nZac", r.m_nZac},
            {"m_dwETotal", r.m_dwETotal},
            {"m_dwHTotal", r.m_dwHTotal},
            {"m_nMode", r.m_nMode},
            {"m_nEToday", r.m_nEToday},
            {"m_dwErrorBits", r.m_dwErrorBits},
            {"m_nFaultVpv", r.m_nFaultVpv},
            {"m_nFaultTemp", r.m_nFaultTemp},
            {"m_nFaultVac", r.m_nFaultVac},
            {"m_nFaultFac", r.m_nFaultFac},
            {"m_nFaultGfci", r.m_nFaultGfci},
            {"m_nFaultZac", r.m_nFaultZac}};
}

inline FieldList Fields(const ThreeRuntimeData& r) {
    FieldList fields{{"m_tSample", r.m_tSample},
                     {"m_nTemp", r.m_nTemp},
                     {"m_nVpv", r.m_nVpv},
                     {"m_nVpv1", r.m_nVpv1},
                     {"m_nVpv2", r.m_nVpv2},
                     {"m_nVpv3", r.m_nVpv3},
                     {"m_nIpv1", r.m_nIpv1},
                     {"m_nIpv2", r.m_nIpv2},
                     {"m_nIpv3", r.m_nIpv3},
                     {"m_nIac", r.m_nIac},
                     {"m_nVac", r.m_nVac},
                     {"m_nFac", r.m_nFac},
                     {"m_nPac", r.m_nPac},
                     {"m_nZac", r.m_nZac},
                     {"m_dwETotal", r.m_dwETotal},
                     {"m_dwHTotal", r.m_dwHTotal},
                     {"m_nMode", r.m_nMode},
                     {"m_nEToday", r.m_nEToday},
                     {"m_dwErrorBits", r.m_dwErrorBits}};
    AddPhases(fields, "m_nIacPhase", r.m_nIacPhase);
    AddPhases(fields, "m_nVacPhase", r.m_nVacPhase);
    AddPhases(fields, "m_nFacPhase", r.m_nFacPhase);
    AddPhases(fields, "m_nPacPhase", r.m_nPacPhase);
    AddPhases(fields, "m_dwETotalPhase", r.m_dwETotalPhase);
    AddPhases(fields, "m_nFaultVpv", r.m_nFaultVpv);
    fields.emplace_back("m_nFaultTemp", r.m_nFaultTemp);
    AddPhases(fields, "m_nFaultVac", r.m_nFaultVac);
    AddPhases(fields, "m_nFaultFac", r.m_nFaultFac);
    fields.emplace_back("m_nFaultGfci", r.m_nFaultGfci);
    return fields;
}

// The fields with the named ones replaced.
inline FieldList With(FieldList fields,
                      std::initializer_list<std::pair<const char*, std::int64_t>> changes) {
    for (const auto& [wanted, value] : changes) {
        auto field = std::find_if(fields.begin(), fields.end(),
                                  [&](const auto& item) { return item.first == wanted; });
        if (field == fields.end()) {
            ADD_FAILURE() << "no field " << wanted;
            continue;
        }
        field->second = value;
    }
    return fields;
}

// The fields of a fresh record with the named ones set to value.
template <class Record>
FieldList FieldsWith(const std::vector<std::string>& names, std::int64_t value) {
    FieldList fields = Fields(Record{});
    for (const auto& name : names) {
        fields = With(std::move(fields), {{name.c_str(), value}});
    }
    return fields;
}

// Gives the inverter a field list and a fresh record of the given kind.
template <class Record>
Record& Describe(CInverter& inverter, std::vector<std::uint8_t> format) {
    inverter.m_runtimeFormat = std::move(format);
    auto record = std::make_unique<Record>();
    Record& stored = *record;
    inverter.m_pRuntimeData = std::move(record);
    return stored;
}

// Big-endian 16-bit values as an inverter sends them.
inline std::vector<std::uint8_t> Payload(std::initializer_list<std::uint16_t> values) {
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t value : values) {
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    }
    return bytes;
}
