#include "Recorders.h"

#include <algorithm>

void RecordingTarget::Post(unsigned message, std::uintptr_t wParam) {
    std::lock_guard lock(m_mutex);
    m_messages.push_back({message, wParam});
}

std::vector<PostedMessage> RecordingTarget::Messages() const {
    std::lock_guard lock(m_mutex);
    return m_messages;
}

int RecordingTarget::Count(unsigned message, const void* subject) const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count_if(m_messages.begin(), m_messages.end(), [&](const auto& m) {
        return m.message == message &&
               (subject == nullptr || m.wParam == reinterpret_cast<std::uintptr_t>(subject));
    }));
}

void RecordingNotifier::Show(const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_texts.push_back(text);
}

std::vector<std::string> RecordingNotifier::Texts() const {
    std::lock_guard lock(m_mutex);
    return m_texts;
}
