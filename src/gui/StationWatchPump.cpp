#include "StationWatchPump.h"

#include <QTimer>
#include <ctime>

namespace {
constexpr int PUMP_MS = 200;
} // namespace

StationWatchPump::StationWatchPump(const CHeliowatchDoc& document, QObject* parent)
    : QObject(parent), m_watch(document), m_timer(new QTimer(this)) {
    connect(m_timer, &QTimer::timeout, this, &StationWatchPump::Pump);
    m_timer->start(PUMP_MS);
}

void StationWatchPump::Pump() {
    for (const QueuedMessage& message : m_tap.Take(std::chrono::milliseconds(0))) {
        m_watch.Handle(message.message, message.wParam);
    }
    m_watch.CheckPorts();
    m_watch.CheckPlant(std::time(nullptr));
}
