#include "FrozenPlant.h"

#include "LocalTime.h"

FrozenPlant::FrozenPlant(std::vector<Bus> buses)
    : m_clock(LocalTime(2026, 6, 15, 12, 0, 0)), m_buses(std::move(buses)) {}

FrozenPlant::~FrozenPlant() {
    if (m_server) {
        m_server->Stop();
    }
}

bool FrozenPlant::Start() {
    sim::SimServerConfig config;
    config.portDirectory = m_ports.Path();
    for (const Bus& bus : m_buses) {
        sim::SimBus simBus(bus.port);
        for (int position = 1; position <= bus.count; ++position) {
            simBus.AddInverter(m_factory.Make(bus.kind, bus.port, position, 0));
        }
        config.buses.push_back(std::move(simBus));
    }
    m_server = std::make_unique<sim::SimServer>(std::move(config), m_clock, m_factory);
    std::string error;
    return m_server->Start(error);
}

sim::InverterReading FrozenPlant::Reading(int port, int position) {
    sim::InverterReading reading;
    m_server->WithBus(port, [&](sim::SimBus& bus) {
        reading = bus.Inverters().at(static_cast<std::size_t>(position - 1)).Reading(m_clock.Now());
    });
    return reading;
}

std::string FrozenPlant::Execute(const std::string& command) {
    return m_server->Execute(command);
}
