#include "BusStation.h"

#include "comm/CommEnvironment.h"
#include "comm/CommShared.h"
#include "platform/ExitEvent.h"

BusStation::BusStation(int port) {
    m_group.m_nComPort = port;
    m_group.m_nBaudRate = 9600;
    m_group.m_nDataBits = 8;
}

BusStation::~BusStation() {
    Stop();
}

void BusStation::Start() {
    g_hListWnd = &m_list;
    CommEnvironment environment = CommEnvironment::Default();
    environment.notifier = &m_notifier;
    environment.sink = &m_decoded;
    m_thread = std::make_unique<CommThread>(&m_group, std::move(environment));
}

void BusStation::Stop() {
    if (m_thread) {
        g_hExitEvent.Set();
        m_thread->Join();
        m_thread.reset();
        g_hExitEvent.Reset();
    }
    g_hListWnd = nullptr;
}

CInverter* BusStation::Record(std::size_t index) const {
    const auto records = m_group.Inverters();
    return index < records.size() ? records[index] : nullptr;
}
