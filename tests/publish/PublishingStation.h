#pragma once

#include "TempDirectory.h"
#include "publish/Publisher.h"
#include "station/HeadlessStation.h"
#include "station/MessageQueue.h"
#include "store/HeliowatchDoc.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

// The headless station in this process: it polls the plant behind a port
// directory and publishes, its settings written from the given text and the
// lines it prints kept.
class PublishingStation {
public:
    PublishingStation(const std::string& portDirectory, const std::string& settings,
                      std::size_t queueCapacity = OutboundQueue::DEFAULT_CAPACITY);
    ~PublishingStation();
    PublishingStation(const PublishingStation&) = delete;
    PublishingStation& operator=(const PublishingStation&) = delete;

    bool WaitForLine(const std::string& text, std::chrono::milliseconds timeout) const;
    std::string Output() const;
    // Lines of an inverter's history file so far.
    int HistoryLines(const std::string& serialNo) const;

private:
    TempDirectory m_directory;
    MessageQueue m_queue;
    Publisher m_publisher;
    std::unique_ptr<CHeliowatchDoc> m_document;
    std::FILE* m_out = nullptr;
    std::unique_ptr<HeadlessStation> m_station;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
