#include "SimulatedPlant.h"

#include <ctime>

namespace {
std::int64_t TodayAtLocalNoon() {
    const std::time_t now = std::time(nullptr);
    std::tm calendar{};
    localtime_r(&now, &calendar);
    calendar.tm_hour = 12;
    calendar.tm_min = 0;
    calendar.tm_sec = 0;
    calendar.tm_isdst = -1;
    return std::mktime(&calendar);
}
} // namespace

SimulatedPlant::SimulatedPlant(int port, int inverters, bool wireTime)
    : m_clock(TodayAtLocalNoon()), m_port(port), m_inverters(inverters), m_bWireTime(wireTime) {}

SimulatedPlant::~SimulatedPlant() {
    Stop();
}

bool SimulatedPlant::Start() {
    Stop();
    sim::SimServerConfig config;
    config.portDirectory = m_ports.Path();
    config.wireTime.paced = m_bWireTime;
    sim::SimBus bus(m_port);
    for (int position = 1; position <= m_inverters; ++position) {
        bus.AddInverter(m_factory.Make(sim::InverterKind::Single, m_port, position, 0));
    }
    config.buses.push_back(std::move(bus));
    m_server = std::make_unique<sim::SimServer>(std::move(config), m_clock, m_factory);
    std::string error;
    if (!m_server->Start(error)) {
        m_server.reset();
        return false;
    }
    return true;
}

void SimulatedPlant::Stop() {
    if (m_server) {
        m_server->Stop();
        m_server.reset();
    }
}

std::string SimulatedPlant::Execute(const std::string& command) {
    return m_server ? m_server->Execute(command) : std::string("error not running");
}

SimUnit SimulatedPlant::Unit(int position) const {
    SimUnit unit;
    m_server->WithBus(m_port, [&](sim::SimBus& bus) {
        sim::SimInverter& inverter = bus.Inverters().at(static_cast<std::size_t>(position - 1));
        unit.address = inverter.Address();
        unit.offlineBackoff = inverter.OfflineBackoff();
        unit.profile = inverter.Profile();
        unit.reading = inverter.Reading(m_clock.Now());
        for (std::size_t slot = 0; slot < unit.params.size(); ++slot) {
            const auto id = static_cast<std::uint8_t>(sim::ParameterTable::FIRST_ID + slot);
            unit.params[slot] = inverter.Params().Value(id).value_or(0);
        }
    });
    return unit;
}

bool SimulatedPlant::SwitchOn(int position) {
    return Execute("set " + Target(position) + " silent off").rfind("ok", 0) == 0;
}

bool SimulatedPlant::SwitchOff(int position) {
    return Execute("set " + Target(position) + " silent on").rfind("ok", 0) == 0;
}

std::string SimulatedPlant::Target(int position) const {
    return "COM" + std::to_string(m_port) + ":" + std::to_string(position);
}
