#pragma once

#include "platform/MessageTarget.h"

#include <mutex>

class QObject;

// Posts window messages to a widget from any thread. The widget detaches it
// before it is destroyed; posts after that are dropped, so no thread ever
// posts to a destroyed window.
class WidgetTarget : public MessageTarget {
public:
    explicit WidgetTarget(QObject* receiver) : m_receiver(receiver) {}

    void Post(unsigned message, std::uintptr_t wParam) override;
    void Detach();

private:
    std::mutex m_mutex;
    QObject* m_receiver;
};
