#pragma once

#include "ChildProcess.h"
#include "TempDirectory.h"

#include <QDBusVirtualObject>
#include <QStringList>
#include <memory>

// A session bus of the test's own with a desktop notification service on
// it that keeps the summary and body of every notification; the bus is
// made the session bus of this process.
class NotificationService : public QDBusVirtualObject {
public:
    NotificationService();
    ~NotificationService() override;

    // False when the bus or the service cannot be set up.
    bool Start();
    QStringList Notifications() const { return m_notifications; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    QString m_connection;
    TempDirectory m_directory;
    std::unique_ptr<ChildProcess> m_bus;
    QStringList m_notifications;
};
