#include "DesktopChannel.h"

#include "alerts/AlertText.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariantMap>
#include <atomic>

namespace {
constexpr int CALL_TIMEOUT_MS = 10000;
constexpr int SERVER_DECIDES = -1;
std::atomic<int> g_connections{0};

// Notification servers may read the body as markup.
QString Escaped(const std::string& text) {
    return QString::fromStdString(Utf8Text(text)).toHtmlEscaped();
}

unsigned char Urgency(const Alert& alert) {
    if (alert.state == AlertState::Closed || alert.severity == Severity::Info) {
        return 0;
    }
    return alert.severity == Severity::Error ? 2 : 1;
}

QDBusMessage Notify(const Alert& alert) {
    QDBusMessage call = QDBusMessage::createMethodCall("org.freedesktop.Notifications",
                                                       "/org/freedesktop/Notifications",
                                                       "org.freedesktop.Notifications", "Notify");
    const QVariantMap hints{{"urgency", QVariant::fromValue(Urgency(alert))}};
    call << QString("Heliowatch") << 0U << QString("heliowatch")
         << QString::fromStdString(Utf8Text(alert.title)) << Escaped(alert.text) << QStringList()
         << hints << SERVER_DECIDES;
    return call;
}
} // namespace

std::string DesktopChannel::Deliver(const Alert& alert) {
    const QString name = "heliowatch-alert-" + QString::number(++g_connections);
    std::string problem;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        if (!bus.isConnected()) {
            problem = "no desktop session bus: " + bus.lastError().message().toStdString();
        } else {
            const QDBusMessage reply = bus.call(Notify(alert), QDBus::Block, CALL_TIMEOUT_MS);
            if (reply.type() == QDBusMessage::ErrorMessage) {
                problem =
                    "the desktop's notification service: " + reply.errorMessage().toStdString();
            }
        }
    }
    QDBusConnection::disconnectFromBus(name);
    return problem;
}

std::unique_ptr<AlertChannel> MakeDesktopChannel() {
    return std::make_unique<DesktopChannel>();
}
