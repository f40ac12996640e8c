#include "BrokerStateLabel.h"

#include "publish/Publisher.h"

#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

namespace {
constexpr int REFRESH_MS = 500;

QString StateText(const BrokerStatus& status) {
    QString text;
    switch (status.state) {
    case BrokerStatus::State::Disabled: return "MQTT: off";
    case BrokerStatus::State::Connecting: text = "MQTT: connecting"; break;
    case BrokerStatus::State::Connected: text = "MQTT: connected"; break;
    case BrokerStatus::State::Lost:
        text = "MQTT: lost - " + QString::fromStdString(status.reason);
        break;
    }
    if (status.dropped > 0) {
        text += QString(" (%1 dropped)").arg(status.dropped);
    }
    return text;
}
} // namespace

BrokerStateLabel::BrokerStateLabel(const Publisher& publisher, QMainWindow& window)
    : QLabel(&window), m_publisher(publisher), m_window(window) {
    setObjectName("BrokerState");
    setTextFormat(Qt::PlainText);
    hide();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &BrokerStateLabel::Refresh);
    timer->start(REFRESH_MS);
    Refresh();
}

void BrokerStateLabel::Refresh() {
    const BrokerStatus status = m_publisher.Status();
    if (!m_placed && status.state == BrokerStatus::State::Disabled) {
        return;
    }
    if (!m_placed) {
        m_placed = true;
        m_window.statusBar()->addPermanentWidget(this, 1);
        show();
    }
    setText(StateText(status));
}
