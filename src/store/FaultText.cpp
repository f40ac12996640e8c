#include "FaultText.h"

#include <array>
#include <bit>

namespace {
constexpr std::array<const char*, 32> FAULT_TEXTS = {
    "The GFCI detection circuit is abnormal",
    "The DC output sensor is abnormal",
    "The 2.5V reference inside are abnormal",
    "Different value between Master and Slave for output DC current",
    "Different value between Master and Slave for GFCI",
    "Dc Bus voltage is too low",
    "Dc Bus voltage is too high",
    "Device Fault",
    "Delta GridZ Fault",
    "Grid voltage =0",
    "Ground current is too high",
    "Dc bus fault",
    "Master and Slave firmware version is unmatch",
    "Over temperature fault",
    "Auto Test failed",
    "Pv input voltage is over the tolerable maximum value",
    "Fan Lock",
    "Master-grid voltage measurement-value out of tolerable range",
    "Isolation resistance of PV-plant out of tolerable range before connecting to the grid",
    "The DC injection check for grid Current is fail",
    "Different value between Master and Slave for dI, Fac, Uac or Zac",
    "Different value between Master and Slave for grid impedance",
    "Different value between Master and Slave for grid frequency",
    "Different value between Master and Slave for grid voltage",
    "memory space is full",
    "Relay is Fail",
    "The slave impedance is out of tolerable range",
    "The master impedance is out of tolerable range",
    "The slave-frequency is out of tolerable range",
    "The master-frequency is out of tolerable range",
    "EEPROM cannot be read or written",
    "Communication between microcontrollers is failing",
};

constexpr std::array<const char*, 4> MODE_TEXTS = {"Wait", "Normal", "Fault", "Permanent Fault"};
} // namespace

int LowestSetBit(std::uint32_t bits) {
    return bits == 0 ? -1 : std::countr_zero(bits);
}

std::string FaultText(std::uint32_t errorBits) {
    const int bit = LowestSetBit(errorBits);
    return bit < 0 ? std::string() : FAULT_TEXTS[bit];
}

std::string ModeText(int mode) {
    if (mode < 0 || mode >= static_cast<int>(MODE_TEXTS.size())) {
        return {};
    }
    return MODE_TEXTS[mode];
}
