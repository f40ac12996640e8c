#include "RuntimeDecode.h"

#include "Protocol.h"
#include "RuntimeFields.h"
#include "model/Inverter.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"

#include <algorithm>
#include <array>

namespace {

// No message carries more data bytes than this, so no field list or payload
// holds more entries.
constexpr std::size_t MAX_FIELDS = MESSAGE_SIZE - MESSAGE_HEADER_SIZE;

template <class Record, class Store>
void Decode(CInverter& inverter, const std::uint8_t* data, std::size_t length,
            std::time_t sampleTime, Store store) {
    std::array<std::uint8_t, MAX_FIELDS> format;
    std::size_t count = 0;
    {
        auto lock = inverter.Lock();
        count = std::min({length / 2, inverter.m_runtimeFormat.size(), format.size()});
        std::copy_n(inverter.m_runtimeFormat.begin(), count, format.begin());
    }

    // Built aside so that readers never see a half-decoded sample, and fields
    // missing from this reply end up 0 rather than keeping the last value.
    Record sample;
    for (std::size_t i = 0; i < count; ++i) {
        const auto value = static_cast<std::uint16_t>(data[2 * i] << 8 | data[2 * i + 1]);
        store(sample, format[i], value);
    }
    sample.m_tSample = sampleTime;

    auto lock = inverter.Lock();
    if (auto* target = dynamic_cast<Record*>(inverter.m_pRuntimeData.get())) {
        *target = sample;
    }
}

} // namespace

void DecodeSingle(CInverter& inverter, const std::uint8_t* data, std::size_t length,
                  std::time_t sampleTime) {
    Decode<SingleRuntimeData>(inverter, data, length, sampleTime, StoreSingleField);
}

void DecodeThree(CInverter& inverter, const std::uint8_t* data, std::size_t length,
                 std::time_t sampleTime) {
    Decode<ThreeRuntimeData>(inverter, data, length, sampleTime, StoreThreeField);
}
