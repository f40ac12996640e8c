#include "WidgetTarget.h"

#include "WindowMessageEvent.h"

#include <QCoreApplication>

void WidgetTarget::Post(unsigned message, std::uintptr_t wParam) {
    // Held across the post, so Detach cannot return while a post is under way.
    std::lock_guard lock(m_mutex);
    if (m_receiver != nullptr) {
        QCoreApplication::postEvent(m_receiver, new WindowMessageEvent(message, wParam));
    }
}

void WidgetTarget::Detach() {
    std::lock_guard lock(m_mutex);
    m_receiver = nullptr;
}
