#include "FaultRecordCodec.h"

#include <algorithm>

namespace {
enum Offset : std::size_t {
    SERIAL_NO = 0,
    MODE = 16,
    ERROR_BITS = 20,
    VALUE1 = 24,
    VALUE2 = 26,
    VALUE3 = 28,
    START_TIME = 32,
    END_TIME = 36,
};

void Put(FaultRecordBytes& bytes, std::size_t offset, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t Get(const FaultRecordBytes& bytes, std::size_t offset, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value |= static_cast<std::uint32_t>(bytes[offset + i]) << (8 * i);
    }
    return value;
}
} // namespace

FaultRecordBytes EncodeFaultRecord(const InvFaultRecord& record) {
    FaultRecordBytes bytes{};
    std::copy(record.serialNo.begin(), record.serialNo.end(), bytes.begin() + SERIAL_NO);
    Put(bytes, MODE, record.mode, 2);
    Put(bytes, ERROR_BITS, record.errorBits, 4);
    Put(bytes, VALUE1, record.value1, 2);
    Put(bytes, VALUE2, record.value2, 2);
    Put(bytes, VALUE3, record.value3, 2);
    Put(bytes, START_TIME, static_cast<std::uint32_t>(record.startTime), 4);
    Put(bytes, END_TIME, static_cast<std::uint32_t>(record.endTime), 4);
    return bytes;
}

InvFaultRecord DecodeFaultRecord(const FaultRecordBytes& bytes) {
    InvFaultRecord record;
    std::copy_n(bytes.begin() + SERIAL_NO, record.serialNo.size(), record.serialNo.begin());
    record.mode = static_cast<std::uint16_t>(Get(bytes, MODE, 2));
    record.errorBits = Get(bytes, ERROR_BITS, 4);
    record.value1 = static_cast<std::uint16_t>(Get(bytes, VALUE1, 2));
    record.value2 = static_cast<std::uint16_t>(Get(bytes, VALUE2, 2));
    record.value3 = static_cast<std::uint16_t>(Get(bytes, VALUE3, 2));
    record.startTime = static_cast<std::int32_t>(Get(bytes, START_TIME, 4));
    record.endTime = static_cast<std::int32_t>(Get(bytes, END_TIME, 4));
    return record;
}
