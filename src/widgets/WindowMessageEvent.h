#pragma once

#include <QEvent>
#include <cstdint>

// A window message delivered to a widget on the user-interface thread.
class WindowMessageEvent : public QEvent {
public:
    WindowMessageEvent(unsigned message, std::uintptr_t wParam)
        : QEvent(EventType()), m_message(message), m_wParam(wParam) {}

    static QEvent::Type EventType() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }

    unsigned Message() const { return m_message; }
    std::uintptr_t WParam() const { return m_wParam; }

private:
    unsigned m_message;
    std::uintptr_t m_wParam;
};
