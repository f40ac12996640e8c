#include "InverterGroup.h"

#include "platform/SerialPort.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

CInverterGroup::CInverterGroup() = default;

// Inverters go first, then the ports: nothing may outlive the group.
CInverterGroup::~CInverterGroup() {
    m_inverters.clear();
    m_pEnvSerial.reset();
    m_pSerial.reset();
}

std::uint8_t CInverterGroup::AllocateAddress(const std::uint8_t* serial, std::size_t length) {
    if (serial == nullptr) {
        return NO_ADDRESS;
    }
    char buffer[256] = {};
    std::memcpy(buffer, serial, std::min(length, sizeof buffer - 1));
    if (FindBySerial(buffer) != nullptr) {
        return NO_ADDRESS;
    }
    // Addresses are handed out once each and never wrap to the broadcast
    // address: past the last one every request is refused.
    if (m_nNextAddress > MAX_ADDRESS) {
        return NO_ADDRESS;
    }
    return static_cast<std::uint8_t>(m_nNextAddress++);
}

std::unique_ptr<CInverter> CInverterGroup::CreateInverter(std::uint8_t address) {
    if (FindByAddress(address) != nullptr) {
        return nullptr;
    }
    auto inverter = std::make_unique<CInverter>();
    inverter->m_nAddress = address;
    return inverter;
}

CInverter* CInverterGroup::AppendInverter(std::unique_ptr<CInverter> inverter) {
    auto lock = Lock();
    inverter->m_pGroup = this;
    m_inverters.push_back(std::move(inverter));
    return m_inverters.back().get();
}

CInverter* CInverterGroup::FindByAddress(std::uint8_t address) const {
    auto lock = Lock();
    for (const auto& inverter : m_inverters) {
        if (inverter->m_nAddress == address) {
            return inverter.get();
        }
    }
    return nullptr;
}

CInverter* CInverterGroup::FindBySerial(const std::string& serialNo) const {
    auto lock = Lock();
    for (const auto& inverter : m_inverters) {
        if (inverter->m_strSerialNo == serialNo || inverter->m_strBusSerialNo == serialNo) {
            return inverter.get();
        }
    }
    return nullptr;
}

void CInverterGroup::RemoveInverter(CInverter* inverter) {
    if (inverter == nullptr) {
        return;
    }
    // Destroyed under the lock, so a reader that checked membership under the
    // lock never sees a freed record.
    auto lock = Lock();
    auto found = std::find_if(m_inverters.begin(), m_inverters.end(),
                              [inverter](const auto& item) { return item.get() == inverter; });
    if (found != m_inverters.end()) {
        m_inverters.erase(found);
    }
}

std::vector<CInverter*> CInverterGroup::Inverters() const {
    auto lock = Lock();
    std::vector<CInverter*> inverters;
    inverters.reserve(m_inverters.size());
    for (const auto& inverter : m_inverters) {
        inverters.push_back(inverter.get());
    }
    return inverters;
}

bool CInverterGroup::IsSerialTaken(const CInverter* inverter, const std::string& serialNo) const {
    if (inverter == nullptr) {
        return false;
    }
    auto lock = Lock();
    return std::any_of(m_inverters.begin(), m_inverters.end(), [&](const auto& other) {
        return other.get() != inverter &&
               strcasecmp(other->m_strSerialNo.c_str(), serialNo.c_str()) == 0;
    });
}
