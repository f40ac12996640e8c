#include "GuiNotifier.h"

#include "widgets/MessageBox.h"

#include <QCoreApplication>
#include <QThread>
#include <memory>

GuiNotifier::GuiNotifier(QObject* context, QString caption)
    : m_context(context), m_caption(std::move(caption)) {}

void GuiNotifier::Show(const std::string& text) {
    const QString message = QString::fromStdString(text);
    std::unique_lock lock(m_mutex);
    if (m_bCancelled) {
        return;
    }
    if (QThread::currentThread() == m_context->thread()) {
        lock.unlock();
        MessageBox::Show(nullptr, message, m_caption);
        return;
    }
    auto closed = std::make_shared<bool>(false);
    QMetaObject::invokeMethod(
        m_context,
        [this, message, closed] {
            {
                std::lock_guard guard(m_mutex);
                if (m_bCancelled) {
                    return;
                }
            }
            MessageBox::Show(nullptr, message, m_caption);
            std::lock_guard guard(m_mutex);
            *closed = true;
            m_closed.notify_all();
        },
        Qt::QueuedConnection);
    m_closed.wait(lock, [&] { return m_bCancelled || *closed; });
}

void GuiNotifier::Cancel() {
    std::lock_guard lock(m_mutex);
    m_bCancelled = true;
    m_closed.notify_all();
}
