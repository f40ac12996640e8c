#include "CommFixture.h"

CommFixture::CommFixture() : clock(LocalTime(2026, 6, 15, 10, 0, 0)) {}

void CommFixture::SetUp() {
    group.m_nComPort = 3;
    group.m_nBaudRate = 9600;
    group.m_nDataBits = 8;
    environment.clock = &clock;
    environment.notifier = &notifier;
    environment.makePort = [this](const SerialSettings& settings) -> std::unique_ptr<SerialPort> {
        ++wire.portsCreated;
        wire.createdForPorts.push_back(settings.port);
        return std::make_unique<ScriptedPort>(wire, clock);
    };
    wire.responder = [this](const BusMessage& request) { return plant.Answer(request); };
    g_hListWnd = &list;
    g_viewsCreated = 1;
    g_nInterval = 2;
    g_hExitEvent.Reset();
}

void CommFixture::TearDown() {
    g_hListWnd = nullptr;
    g_viewsCreated = 0;
    g_bFastReplies = false;
    g_nInterval = 2;
    g_hExitEvent.Reset();
}

int CommFixture::RunFor(std::chrono::milliseconds duration, std::function<void()> then) {
    const std::int64_t end = clock.ElapsedMs() + duration.count();
    clock.onWait = [this, end, then](FakeClock& now) {
        if (then) {
            then();
        }
        if (now.ElapsedMs() >= end) {
            g_hExitEvent.Set();
        }
    };
    const int result = CommThreadProc(&group, environment);
    g_hExitEvent.Reset();
    clock.onWait = nullptr;
    return result;
}

CInverter* CommFixture::Inverter(std::size_t index) const {
    const auto inverters = group.Inverters();
    return index < inverters.size() ? inverters[index] : nullptr;
}
