#include "NotificationService.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <chrono>
#include <cstdlib>
#include <fstream>

namespace {
int g_services = 0;

std::string BusConfig(const std::string& socket) {
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>unix:path=" +
           socket +
           "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
           "<allow send_destination=\"*\"/><allow receive_sender=\"*\"/><allow own=\"*\"/>"
           "</policy></busconfig>\n";
}
} // namespace

NotificationService::NotificationService()
    : m_connection("notification-service-" + QString::number(++g_services)) {}

NotificationService::~NotificationService() {
    QDBusConnection::disconnectFromBus(m_connection);
}

bool NotificationService::Start() {
    const std::string config = m_directory.Path() + "/bus.conf";
    std::ofstream(config) << BusConfig(m_directory.Path() + "/bus");
    m_bus = std::make_unique<ChildProcess>(std::vector<std::string>{
        "/usr/bin/dbus-daemon", "--config-file=" + config, "--nofork", "--print-address=1"});
    const auto address = m_bus->ReadLine(std::chrono::seconds(10));
    if (!address) {
        return false;
    }
    setenv("DBUS_SESSION_BUS_ADDRESS", address->c_str(), 1);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connection);
    return bus.isConnected() && bus.registerVirtualObject("/org/freedesktop/Notifications", this) &&
           bus.registerService("org.freedesktop.Notifications");
}

QString NotificationService::introspect(const QString&) const {
    return {};
}

bool NotificationService::handleMessage(const QDBusMessage& message,
                                        const QDBusConnection& connection) {
    if (message.member() != "Notify" || message.arguments().size() != 8) {
        return false;
    }
    const QList<QVariant> arguments = message.arguments();
    m_notifications << arguments[3].toString() + "\n" + arguments[4].toString();
    connection.send(
        message.createReply(QVariant::fromValue(static_cast<uint>(m_notifications.size()))));
    return true;
}
