#pragma once

#include "alerts/AlertChannel.h"

#include <memory>
#include <mutex>
#include <vector>

// A channel that keeps what it is given; while down it refuses everything.
class RecordingChannel : public AlertChannel {
public:
    struct Record {
        std::mutex mutex;
        std::vector<Alert> alerts;
        bool down = false;
        int attempts = 0;
    };

    explicit RecordingChannel(std::shared_ptr<Record> record, std::string name = "webhook")
        : m_record(std::move(record)), m_name(std::move(name)) {}

    std::string Name() const override { return m_name; }
    std::string Deliver(const Alert& alert) override {
        std::lock_guard lock(m_record->mutex);
        ++m_record->attempts;
        if (m_record->down) {
            return "the receiver is down";
        }
        m_record->alerts.push_back(alert);
        return {};
    }

private:
    std::shared_ptr<Record> m_record;
    std::string m_name;
};
