#include "HeadlessStation.h"

#include "EventLine.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "publish/Publisher.h"
#include "store/HeliowatchDoc.h"
#include "store/PlantTotals.h"

namespace {
constexpr std::time_t SUMMARY_PERIOD = 60;

std::time_t NextMinute(std::time_t now) {
    return now - now % SUMMARY_PERIOD + SUMMARY_PERIOD;
}
} // namespace

HeadlessStation::HeadlessStation(CHeliowatchDoc& document, MessageQueue& queue, std::FILE* out)
    : m_document(document), m_queue(queue), m_out(out), m_watch(document),
      m_nextSummary(NextMinute(std::time(nullptr))) {
    m_watch.AddObserver(this);
}

void HeadlessStation::Publish(Publisher& publisher) {
    m_publisher = &publisher;
    m_watch.AddObserver(&publisher);
    publisher.OnReconnectAll([this] { m_document.ReconnectAll(); });
}

void HeadlessStation::Run(const std::atomic<bool>& stop, const std::function<void()>& eachRound) {
    while (!stop.load()) {
        Step(std::chrono::milliseconds(200));
        if (eachRound) {
            eachRound();
        }
        if (const std::time_t now = std::time(nullptr); now >= m_nextSummary) {
            m_nextSummary = NextMinute(now);
            PrintPlantSummary();
        }
    }
}

void HeadlessStation::Step(std::chrono::milliseconds timeout) {
    for (const QueuedMessage& message : m_queue.Take(timeout)) {
        m_watch.Handle(message.message, message.wParam);
        if (message.message == WM_PORT_STOPPED) {
            m_document.RemovePortGroup(reinterpret_cast<CInverterGroup*>(message.wParam));
        }
    }
    m_watch.CheckPorts();
    m_watch.CheckPlant(std::time(nullptr));
    PrintBrokerChanges();
}

void HeadlessStation::PrintPlantSummary() {
    std::string rejects;
    for (const CInverterGroup* group : m_document.GetGroups()) {
        rejects += RejectsField(group->m_nComPort, group->m_rejects);
    }
    const PlantTotals totals = ReadPlantTotals(m_document, std::time(nullptr));
    PrintLine(PlantLine(totals.when, totals.powerW, totals.eTodayKWh, totals.eTotalKWh,
                        totals.answering, totals.registered) +
                  rejects,
              LogLevel::Info);
}

void HeadlessStation::OnStationEvent(const StationEvent& event) {
    const EventSubject& subject = event.subject;
    const std::string line = EventLine(event.when, subject.comPort, subject.address,
                                       subject.serialNo, StationEventName(event.kind));
    PrintLine(subject.reason.empty() ? line : line + " " + subject.reason, EventLevel(event.kind));
}

void HeadlessStation::PrintBrokerChanges() {
    if (m_publisher == nullptr) {
        return;
    }
    for (const BrokerChange& change : m_publisher->TakeChanges()) {
        PrintLine(BrokerLine(change.when, change.connected, change.reason, change.droppedMeanwhile),
                  change.connected ? LogLevel::Info : LogLevel::Warning);
    }
}

void HeadlessStation::PrintLine(const std::string& line, LogLevel level) {
    WriteReportLine(m_out, level, line);
}
