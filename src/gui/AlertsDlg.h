#pragma once

#include "alerts/AlertSettings.h"
#include "store/MqttSettings.h"

#include <QDialog>
#include <functional>
#include <future>
#include <string>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// Edits where alerts go, the channel keys of [Alerts]; the rules' limits
// stay in the settings file. "Send test" sends a test alert through one
// channel as the dialog shows it, without saving. OK saves and applies.
// Each control is named after its key, each test button "Test<Channel>"
// and its outcome "<Channel>Result".
class CAlertsDlg : public QDialog {
    Q_OBJECT

public:
    using Apply = std::function<void(const AlertSettings&)>;

    CAlertsDlg(std::string settingsPath, MqttSettings mqtt, Apply apply, QWidget* parent = nullptr);
    ~CAlertsDlg() override;

private:
    QLineEdit* AddText(const char* key, const QString& label, const std::string& value);
    QCheckBox* AddCheck(const char* key, const QString& label, bool value);
    void AddTest(const char* channel, const QString& caption);
    AlertSettings Read() const;
    void OnTest(const std::string& channel);
    void OnTestTimer();
    void OnOK();

    std::string m_settingsPath;
    MqttSettings m_mqtt;
    Apply m_apply;
    AlertSettings m_loaded;
    QFormLayout* m_form;
    QCheckBox* m_enable;
    QLineEdit* m_webhookUrl;
    QComboBox* m_webhookFormat;
    QLineEdit* m_webhookTokenFile;
    QLineEdit* m_smtpUrl;
    QCheckBox* m_smtpStartTls;
    QLineEdit* m_smtpUser;
    QLineEdit* m_smtpPasswordFile;
    QLineEdit* m_mailFrom;
    QLineEdit* m_mailTo;
    QCheckBox* m_desktop;
    QCheckBox* m_mqttAlerts;
    QTimer* m_testTimer;
    QLabel* m_testResult = nullptr;
    std::future<std::string> m_testOutcome;
};
