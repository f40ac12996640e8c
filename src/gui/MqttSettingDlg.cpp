#include "MqttSettingDlg.h"

#include "SaveProblemBox.h"
#include "publish/ConnectionTest.h"
#include "publish/Publisher.h"
#include "store/HeliowatchDoc.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int TEST_POLL_MS = 50;
} // namespace

CMqttSettingDlg::CMqttSettingDlg(CHeliowatchDoc& document, Publisher& publisher, QWidget* parent)
    : QDialog(parent), m_document(document), m_publisher(publisher), m_form(new QFormLayout),
      m_testTimer(new QTimer(this)) {
    setWindowTitle("MQTT setting");
    const MqttSettings& settings = document.GetMqttSettings();
    m_enable = AddCheck("Enable", "Publish to a broker", settings.enable);
    m_host = AddText("Host", "Host", settings.host);
    m_port = AddText("Port", "Port", std::to_string(settings.port));
    m_clientId = AddText("ClientId", "Client id", settings.clientId);
    m_user = AddText("User", "User", settings.user);
    m_passwordFile = AddText("PasswordFile", "Password file", settings.passwordFile);
    m_password = AddText("Password", "Password", settings.password);
    m_password->setEchoMode(QLineEdit::Password);
    m_tls = AddCheck("Tls", "TLS", settings.tls);
    m_caFile = AddText("CaFile", "CA file", settings.caFile);
    m_topicPrefix = AddText("TopicPrefix", "Topic prefix", settings.topicPrefix);
    m_discovery = AddCheck("Discovery", "Home Assistant discovery", settings.discovery);
    m_discoveryPrefix = AddText("DiscoveryPrefix", "Discovery prefix", settings.discoveryPrefix);

    m_test = new QPushButton("Test connection", this);
    m_test->setObjectName("TestConnection");
    m_testResult = new QLabel(this);
    m_testResult->setTextFormat(Qt::PlainText);
    m_testResult->setObjectName("TestResult");
    m_testResult->setWordWrap(true);
    // A reason can be long: it takes the whole width, on as many lines as it needs.
    m_form->addRow(m_test);
    m_form->addRow(m_testResult);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(buttons);

    connect(m_test, &QPushButton::clicked, this, &CMqttSettingDlg::OnTestConnection);
    connect(m_testTimer, &QTimer::timeout, this, &CMqttSettingDlg::OnTestTimer);
    connect(buttons, &QDialogButtonBox::accepted, this, &CMqttSettingDlg::OnOK);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// A test still running is waited for: it ends within its own time-out.
CMqttSettingDlg::~CMqttSettingDlg() = default;

QLineEdit* CMqttSettingDlg::AddText(const char* key, const QString& label,
                                    const std::string& value) {
    auto* edit = new QLineEdit(QString::fromStdString(value), this);
    edit->setObjectName(key);
    m_form->addRow(label, edit);
    return edit;
}

QCheckBox* CMqttSettingDlg::AddCheck(const char* key, const QString& label, bool value) {
    auto* check = new QCheckBox(label, this);
    check->setObjectName(key);
    check->setChecked(value);
    m_form->addRow(check);
    return check;
}

bool CMqttSettingDlg::Read(MqttSettings& settings) {
    bool isNumber = false;
    settings.port = m_port->text().trimmed().toInt(&isNumber);
    if (!isNumber) {
        MessageBox::Show(this, "Port must be a number from 1 to 65535", "Heliowatch",
                         QMessageBox::Ok, QMessageBox::Warning);
        m_port->setFocus();
        return false;
    }
    settings.enable = m_enable->isChecked();
    settings.host = m_host->text().trimmed().toStdString();
    settings.clientId = m_clientId->text().trimmed().toStdString();
    settings.user = m_user->text().toStdString();
    settings.passwordFile = m_passwordFile->text().trimmed().toStdString();
    settings.password = m_password->text().toStdString();
    settings.tls = m_tls->isChecked();
    settings.caFile = m_caFile->text().trimmed().toStdString();
    settings.topicPrefix = m_topicPrefix->text().trimmed().toStdString();
    settings.discovery = m_discovery->isChecked();
    settings.discoveryPrefix = m_discoveryPrefix->text().trimmed().toStdString();
    return true;
}

void CMqttSettingDlg::OnTestConnection() {
    // Keys the dialog does not show keep their values.
    MqttSettings settings = m_document.GetMqttSettings();
    if (!Read(settings)) {
        return;
    }
    m_test->setEnabled(false);
    ShowTestResult("Testing...");
    m_testOutcome =
        std::async(std::launch::async, [settings] { return TestBrokerConnection(settings); });
    m_testTimer->start(TEST_POLL_MS);
}

void CMqttSettingDlg::OnTestTimer() {
    if (m_testOutcome.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return;
    }
    m_testTimer->stop();
    m_test->setEnabled(true);
    const std::string reason = m_testOutcome.get();
    ShowTestResult(reason.empty() ? QString("Connected: the broker accepted the station.")
                                  : "Failed: " + QString::fromStdString(reason));
}

// The dialog grows to show every line of a wrapped result.
void CMqttSettingDlg::ShowTestResult(const QString& text) {
    m_testResult->setText(text);
    layout()->activate();
    const int needed = layout()->totalHeightForWidth(width());
    if (needed > height()) {
        resize(width(), needed);
    }
}

void CMqttSettingDlg::OnOK() {
    // Keys the dialog does not show keep their values.
    MqttSettings settings = m_document.GetMqttSettings();
    if (!Read(settings)) {
        return;
    }
    if (const std::string problem = MqttSettingsProblem(settings);
        settings.enable && !problem.empty()) {
        MessageBox::Show(this, QString::fromStdString(problem), "Heliowatch", QMessageBox::Ok,
                         QMessageBox::Warning);
        return;
    }
    if (settings == m_document.GetMqttSettings()) {
        accept();
        return;
    }
    if (!m_document.SetMqttSettings(settings)) {
        ShowSaveProblem(this, m_document);
    }
    m_publisher.Configure(settings);
    accept();
}
