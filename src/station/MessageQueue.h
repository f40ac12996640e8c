#pragma once

#include "platform/MessageTarget.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

struct QueuedMessage {
    unsigned message;
    std::uintptr_t wParam;
};

// A message target read by one consumer thread, for running without windows.
class MessageQueue : public MessageTarget {
public:
    void Post(unsigned message, std::uintptr_t wParam) override;
    // Every message posted so far, waiting up to timeout for the first one.
    std::vector<QueuedMessage> Take(std::chrono::milliseconds timeout);

private:
    std::mutex m_mutex;
    std::condition_variable m_posted;
    std::deque<QueuedMessage> m_messages;
};
