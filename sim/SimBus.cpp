#include "SimBus.h"

#include <algorithm>

namespace sim {

namespace {
bool IsOfflineQuery(const BusMessage& request) {
    return request.Control() == CTRL_REGISTER && request.Function() == FN_OFFLINE_QUERY;
}

bool IsReconnectAll(const BusMessage& request) {
    return request.Control() == CTRL_REGISTER && request.Function() == FN_RECONNECT_ALL &&
           request.Destination() == BROADCAST_ADDRESS;
}
} // namespace

LineBurst SimBus::Receive(const std::uint8_t* bytes, std::size_t count, std::int64_t now) {
    LineBurst wire;
    for (const BusMessage& request : m_parser.Feed(bytes, count)) {
        wire.Append(Handle(request, now));
    }
    return wire;
}

LineBurst SimBus::Handle(const BusMessage& request, std::int64_t now) {
    if (IsOfflineQuery(request)) {
        return HandleOfflineQuery(request, now);
    }
    if (IsReconnectAll(request)) {
        ++m_reconnectsHeard;
    }
    std::vector<std::vector<std::uint8_t>> frames;
    for (SimInverter& inverter : m_inverters) {
        if (auto frame = inverter.Answer(request, now)) {
            frames.push_back(std::move(*frame));
        }
    }
    return LineBurst(frames);
}

LineBurst SimBus::HandleOfflineQuery(const BusMessage& request, std::int64_t now) {
    std::vector<SimInverter*> speakers;
    std::vector<std::vector<std::uint8_t>> frames;
    for (SimInverter& inverter : m_inverters) {
        if (inverter.IsRegistered() || inverter.Faults().silent) {
            continue;
        }
        if (inverter.OfflineBackoff() > 0) {
            inverter.SetOfflineBackoff(inverter.OfflineBackoff() - 1);
            continue;
        }
        if (auto frame = inverter.Answer(request, now)) {
            speakers.push_back(&inverter);
            frames.push_back(std::move(*frame));
        }
    }
    if (speakers.size() > 1) {
        std::sort(speakers.begin(), speakers.end(), [](const SimInverter* a, const SimInverter* b) {
            return a->Profile().serialNo < b->Profile().serialNo;
        });
        for (std::size_t turn = 0; turn < speakers.size(); ++turn) {
            speakers[turn]->SetOfflineBackoff(static_cast<int>(turn));
        }
    }
    return LineBurst(frames);
}

} // namespace sim
