#include "AlertsDlg.h"

#include "DesktopChannel.h"
#include "alerts/AlertChannels.h"
#include "station/TestAlertCommand.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <ctime>

namespace {
constexpr int TEST_POLL_MS = 50;

std::vector<std::string> Addresses(const QString& text) {
    std::vector<std::string> addresses;
    for (const QString& address : text.split(',', Qt::SkipEmptyParts)) {
        if (!address.trimmed().isEmpty()) {
            addresses.push_back(address.trimmed().toStdString());
        }
    }
    return addresses;
}

std::string Joined(const std::vector<std::string>& addresses) {
    std::string joined;
    for (const std::string& address : addresses) {
        joined += (joined.empty() ? "" : ", ") + address;
    }
    return joined;
}

std::string SendTest(const std::string& channel, const AlertSettings& settings,
                     const MqttSettings& mqtt) {
    if (channel == "mqtt") {
        return SendBrokerTestAlert(mqtt);
    }
    std::string problem;
    std::unique_ptr<AlertChannel> through =
        channel == "desktop" ? MakeDesktopChannel() : ChannelByName(channel, settings, problem);
    return through ? SendTestAlert(*through, std::time(nullptr)) : problem;
}
} // namespace

CAlertsDlg::CAlertsDlg(std::string settingsPath, MqttSettings mqtt, Apply apply, QWidget* parent)
    : QDialog(parent), m_settingsPath(std::move(settingsPath)), m_mqtt(std::move(mqtt)),
      m_apply(std::move(apply)), m_loaded(LoadAlertSettings(m_settingsPath)),
      m_form(new QFormLayout), m_testTimer(new QTimer(this)) {
    setWindowTitle("Alerts");
    m_enable = AddCheck("Enable", "Send alerts", m_loaded.enable);
    m_webhookUrl = AddText("WebhookUrl", "Webhook URL", m_loaded.webhookUrl);
    m_webhookFormat = new QComboBox(this);
    m_webhookFormat->setObjectName("WebhookFormat");
    m_webhookFormat->addItems({"json", "ntfy"});
    m_webhookFormat->setCurrentIndex(m_loaded.webhookFormat == WebhookFormat::Ntfy ? 1 : 0);
    m_form->addRow("Webhook format", m_webhookFormat);
    m_webhookTokenFile =
        AddText("WebhookTokenFile", "Webhook token file", m_loaded.webhookTokenFile);
    AddTest("webhook", "Webhook");
    m_smtpUrl = AddText("SmtpUrl", "SMTP server URL", m_loaded.smtpUrl);
    m_smtpStartTls = AddCheck("SmtpStartTls", "Require STARTTLS", m_loaded.smtpStartTls);
    m_smtpUser = AddText("SmtpUser", "SMTP user", m_loaded.smtpUser);
    m_smtpPasswordFile =
        AddText("SmtpPasswordFile", "SMTP password file", m_loaded.smtpPasswordFile);
    m_mailFrom = AddText("MailFrom", "Mail from", m_loaded.mailFrom);
    m_mailTo = AddText("MailTo", "Mail to", Joined(m_loaded.mailTo));
    AddTest("mail", "Mail");
    m_desktop = AddCheck("Desktop", "Desktop notifications", m_loaded.desktop);
    AddTest("desktop", "Desktop");
    m_mqttAlerts = AddCheck("Mqtt", "Alerts on the MQTT broker", m_loaded.mqtt);
    AddTest("mqtt", "Mqtt");

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(buttons);
    connect(m_testTimer, &QTimer::timeout, this, &CAlertsDlg::OnTestTimer);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAlertsDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// A test still running is waited for: it ends within its channel's time-out.
CAlertsDlg::~CAlertsDlg() = default;

QLineEdit* CAlertsDlg::AddText(const char* key, const QString& label, const std::string& value) {
    auto* edit = new QLineEdit(QString::fromStdString(value), this);
    edit->setObjectName(key);
    m_form->addRow(label, edit);
    return edit;
}

QCheckBox* CAlertsDlg::AddCheck(const char* key, const QString& label, bool value) {
    auto* check = new QCheckBox(label, this);
    check->setObjectName(key);
    check->setChecked(value);
    m_form->addRow(check);
    return check;
}

void CAlertsDlg::AddTest(const char* channel, const QString& caption) {
    auto* button = new QPushButton("Send test", this);
    button->setObjectName("Test" + caption);
    button->setAutoDefault(false); // Return means OK, not a test
    auto* result = new QLabel(this);
    result->setObjectName(caption + "Result");
    result->setTextFormat(Qt::PlainText);
    result->setWordWrap(true);
    m_form->addRow(button, result);
    connect(button, &QPushButton::clicked, this, [this, channel, result] {
        m_testResult = result;
        OnTest(channel);
    });
}

AlertSettings CAlertsDlg::Read() const {
    AlertSettings settings = m_loaded;
    settings.enable = m_enable->isChecked();
    settings.webhookUrl = m_webhookUrl->text().trimmed().toStdString();
    settings.webhookFormat =
        m_webhookFormat->currentIndex() == 1 ? WebhookFormat::Ntfy : WebhookFormat::Json;
    settings.webhookTokenFile = m_webhookTokenFile->text().trimmed().toStdString();
    settings.smtpUrl = m_smtpUrl->text().trimmed().toStdString();
    settings.smtpStartTls = m_smtpStartTls->isChecked();
    settings.smtpUser = m_smtpUser->text().trimmed().toStdString();
    settings.smtpPasswordFile = m_smtpPasswordFile->text().trimmed().toStdString();
    settings.mailFrom = m_mailFrom->text().trimmed().toStdString();
    settings.mailTo = Addresses(m_mailTo->text());
    settings.desktop = m_desktop->isChecked();
    settings.mqtt = m_mqttAlerts->isChecked();
    return settings;
}

void CAlertsDlg::OnTest(const std::string& channel) {
    if (m_testTimer->isActive()) {
        return;
    }
    m_testResult->setText("Sending...");
    m_testOutcome = std::async(std::launch::async, [channel, settings = Read(), mqtt = m_mqtt] {
        return SendTest(channel, settings, mqtt);
    });
    m_testTimer->start(TEST_POLL_MS);
}

void CAlertsDlg::OnTestTimer() {
    if (m_testOutcome.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return;
    }
    m_testTimer->stop();
    const std::string reason = m_testOutcome.get();
    m_testResult->setText(reason.empty() ? QString("Sent: look for the test alert.")
                                         : "Failed: " + QString::fromStdString(reason));
}

void CAlertsDlg::OnOK() {
    const AlertSettings settings = Read();
    if (settings == m_loaded) {
        accept();
        return;
    }
    if (!SaveAlertChannels(m_settingsPath, settings)) {
        MessageBox::Show(this, "The settings file could not be written; they hold until the end.",
                         "Heliowatch", QMessageBox::Ok, QMessageBox::Warning);
    }
    if (m_apply) {
        m_apply(settings);
    }
    accept();
}
