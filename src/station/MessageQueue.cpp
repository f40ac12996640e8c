#include "MessageQueue.h"

void MessageQueue::Post(unsigned message, std::uintptr_t wParam) {
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back({message, wParam});
    }
    m_posted.notify_one();
}

std::vector<QueuedMessage> MessageQueue::Take(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    m_posted.wait_for(lock, timeout, [this] { return !m_messages.empty(); });
    std::vector<QueuedMessage> taken(m_messages.begin(), m_messages.end());
    m_messages.clear();
    return taken;
}
