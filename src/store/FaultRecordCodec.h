#pragma once

#include "model/InvFaultRecord.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The fault record file: this header (no NUL), then 40-byte records back to
// back; record n lies at FAULT_FILE_HEADER.size() + FAULT_RECORD_SIZE * n.
inline constexpr std::string_view FAULT_FILE_HEADER = "Fault Record File";
inline constexpr std::size_t FAULT_RECORD_SIZE = 40;

using FaultRecordBytes = std::array<std::uint8_t, FAULT_RECORD_SIZE>;

// Little-endian, field by field, so the file reads the same on any host.
FaultRecordBytes EncodeFaultRecord(const InvFaultRecord& record);
InvFaultRecord DecodeFaultRecord(const FaultRecordBytes& bytes);

// Byte offset of record `index` in the file.
inline long long FaultRecordOffset(long long index) {
    return static_cast<long long>(FAULT_FILE_HEADER.size()) +
           static_cast<long long>(FAULT_RECORD_SIZE) * index;
}
