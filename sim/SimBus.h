#pragma once

#include "LineBurst.h"
#include "RequestParser.h"
#include "SimInverter.h"

#include <cstdint>
#include <vector>

namespace sim {

// The inverters on one serial bus and the wire between them and the station:
// requests in, whatever the inverters send back out, collisions included.
//
// After a collision on the offline query the colliding units take turns in
// serial-number order: the k-th sits out k queries, so the next queries each
// get one clean answer.
class SimBus {
public:
    explicit SimBus(int port) : m_port(port) {}

    int Port() const { return m_port; }
    std::vector<SimInverter>& Inverters() { return m_inverters; }
    const std::vector<SimInverter>& Inverters() const { return m_inverters; }
    void AddInverter(SimInverter inverter) { m_inverters.push_back(std::move(inverter)); }
    // "Reconnect all" broadcasts heard since the bus was made.
    int ReconnectsHeard() const { return m_reconnectsHeard; }

    // Bytes from the station in; what the inverters put on the wire out.
    LineBurst Receive(const std::uint8_t* bytes, std::size_t count, std::int64_t now);
    LineBurst Handle(const BusMessage& request, std::int64_t now);

private:
    LineBurst HandleOfflineQuery(const BusMessage& request, std::int64_t now);

    int m_port;
    std::vector<SimInverter> m_inverters;
    RequestParser m_parser;
    int m_reconnectsHeard = 0;
};

} // namespace sim
