#pragma once

#include "platform/UserNotifier.h"

#include <QString>
#include <condition_variable>
#include <mutex>

class QObject;

// Shows a communication thread's message box on the user-interface thread
// and keeps the thread waiting until the box is closed. At shutdown Cancel
// releases every waiting thread, and later boxes are no longer shown.
class GuiNotifier : public UserNotifier {
public:
    GuiNotifier(QObject* context, QString caption);

    void Show(const std::string& text) override;
    void Cancel();

private:
    QObject* m_context;
    QString m_caption;
    std::mutex m_mutex;
    std::condition_variable m_closed;
    bool m_bCancelled = false;
};
