#include "PublishingStation.h"

#include "WaitUntil.h"
#include "comm/CommShared.h"
#include "platform/DataDirectory.h"
#include "platform/PortDirectory.h"
#include "store/PaneTargets.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {
void SetPaneTargets(MessageTarget* target) {
    for (auto* pane : {&g_hListWnd, &g_hGeneralStatusWnd, &g_hTodayEnergyWnd, &g_hPowerWnd}) {
        *pane = target;
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}
} // namespace

PublishingStation::PublishingStation(const std::string& portDirectory, const std::string& settings,
                                     std::size_t queueCapacity)
    : m_publisher(queueCapacity) {
    SetPortDirectory(portDirectory);
    SetDataDirectory(m_directory.Path() + "/data");
    const std::string config = m_directory.Path() + "/Heliowatch.ini";
    std::ofstream(config) << settings;
    m_out = std::fopen((m_directory.Path() + "/out.txt").c_str(), "w");
    SetPaneTargets(&m_queue);
    m_document = std::make_unique<CHeliowatchDoc>(CommEnvironment::Default(), config);
    m_document->ChainPollSink(&m_publisher);
    m_document->OnNewDocument();
    g_viewsCreated = 1;
    m_station = std::make_unique<HeadlessStation>(*m_document, m_queue, m_out);
    m_station->Publish(m_publisher);
    m_publisher.Configure(m_document->GetMqttSettings());
    m_thread = std::thread([this] { m_station->Run(m_stop); });
}

PublishingStation::~PublishingStation() {
    m_stop = true;
    m_thread.join();
    m_document->OnCloseDocument();
    m_publisher.Stop();
    m_station.reset();
    m_document.reset();
    SetPaneTargets(nullptr);
    g_viewsCreated = 0;
    g_nInterval = 2;
    SetPortDirectory("");
    std::fclose(m_out);
}

std::string PublishingStation::Output() const {
    return ReadFile(m_directory.Path() + "/out.txt");
}

bool PublishingStation::WaitForLine(const std::string& text,
                                    std::chrono::milliseconds timeout) const {
    return WaitUntil([&] { return Output().find(text) != std::string::npos; }, timeout);
}

int PublishingStation::HistoryLines(const std::string& serialNo) const {
    const std::string history = ReadFile(m_directory.Path() + "/data/HistLog/" + serialNo + ".csv");
    return static_cast<int>(std::count(history.begin(), history.end(), '\n'));
}
