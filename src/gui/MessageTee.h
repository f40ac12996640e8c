#pragma once

#include "platform/MessageTarget.h"

// Hands every message to two targets, so a second reader hears what the
// threads post to a view.
class MessageTee : public MessageTarget {
public:
    MessageTee(MessageTarget& first, MessageTarget& second) : m_first(first), m_second(second) {}

    void Post(unsigned message, std::uintptr_t wParam) override {
        m_first.Post(message, wParam);
        m_second.Post(message, wParam);
    }

private:
    MessageTarget& m_first;
    MessageTarget& m_second;
};
