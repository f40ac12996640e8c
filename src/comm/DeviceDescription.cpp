#include "DeviceDescription.h"

#include "model/Inverter.h"
#include "model/SerialNumber.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <cctype>

namespace {
struct FieldSpan {
    std::size_t offset;
    std::size_t width;
};
constexpr FieldSpan kRatedPower{1, 6};
constexpr FieldSpan kFirmware{7, 5};
constexpr FieldSpan kModel{12, 16};
constexpr FieldSpan kManufacturer{28, 16};
constexpr FieldSpan kSerialNo{44, SERIAL_NO_LENGTH};
constexpr FieldSpan kNominalVpv{60, 4};

std::string Text(const std::uint8_t* data, FieldSpan span) {
    return TrimmedField(data + span.offset, span.width);
}

void KeepUnlessEmpty(std::string& target, const std::string& value) {
    if (!value.empty()) {
        target = value;
    }
}
} // namespace

std::string TrimmedField(const std::uint8_t* field, std::size_t width) {
    std::size_t end = 0;
    while (end < width && field[end] != 0) {
        ++end;
    }
    std::size_t begin = 0;
    while (begin < end && field[begin] == ' ') {
        ++begin;
    }
    while (end > begin && field[end - 1] == ' ') {
        --end;
    }
    return std::string(reinterpret_cast<const char*>(field) + begin, end - begin);
}

int DecimalField(const std::uint8_t* field, std::size_t width) {
    std::size_t i = 0;
    while (i < width && std::isspace(field[i])) {
        ++i;
    }
    bool negative = false;
    if (i < width && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    int value = 0;
    for (; i < width && std::isdigit(field[i]); ++i) {
        value = value * 10 + (field[i] - '0');
    }
    return negative ? -value : value;
}

DeviceDescription ParseDeviceDescription(const std::uint8_t* data) {
    DeviceDescription description;
    description.phaseType = data[0] == '3' ? 3 : 1;
    description.ratedPower = DecimalField(data + kRatedPower.offset, kRatedPower.width);
    description.firmwareVer = Text(data, kFirmware);
    description.model = Text(data, kModel);
    description.manufacturer = Text(data, kManufacturer);
    description.serialNo = Text(data, kSerialNo);
    description.nominalVpv = DecimalField(data + kNominalVpv.offset, kNominalVpv.width) / 10.0;
    return description;
}

void ApplyDeviceDescription(CInverter& inverter, const DeviceDescription& description) {
    auto lock = inverter.Lock();
    if (description.phaseType == 3) {
        inverter.m_pRuntimeData = std::make_unique<ThreeRuntimeData>();
    } else {
        inverter.m_pRuntimeData = std::make_unique<SingleRuntimeData>();
    }
    inverter.m_nPhaseType = description.phaseType;
    inverter.m_nRatedPower = description.ratedPower;
    KeepUnlessEmpty(inverter.m_strFirmwareVer, description.firmwareVer);
    KeepUnlessEmpty(inverter.m_strModel, description.model);
    KeepUnlessEmpty(inverter.m_strManufacturer, description.manufacturer);
    KeepUnlessEmpty(inverter.m_strSerialNo, description.serialNo);
    inverter.m_dNominalVpv = description.nominalVpv;
}
