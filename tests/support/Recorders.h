#pragma once

#include "platform/MessageTarget.h"
#include "platform/UserNotifier.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

struct PostedMessage {
    unsigned message;
    std::uintptr_t wParam;
};

class RecordingTarget : public MessageTarget {
public:
    void Post(unsigned message, std::uintptr_t wParam) override;
    std::vector<PostedMessage> Messages() const;
    int Count(unsigned message, const void* subject = nullptr) const;

private:
    mutable std::mutex m_mutex;
    std::vector<PostedMessage> m_messages;
};

class RecordingNotifier : public UserNotifier {
public:
    void Show(const std::string& text) override;
    std::vector<std::string> Texts() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_texts;
};
