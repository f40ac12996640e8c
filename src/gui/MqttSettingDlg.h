#pragma once

#include "store/MqttSettings.h"

#include <QDialog>
#include <future>
#include <string>

class CHeliowatchDoc;
class Publisher;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// Edits the [Mqtt] settings. OK saves them and restarts publishing with
// them; "Test connection" tries them once without touching what runs. Each
// control is named after its key.
class CMqttSettingDlg : public QDialog {
    Q_OBJECT

public:
    CMqttSettingDlg(CHeliowatchDoc& document, Publisher& publisher, QWidget* parent = nullptr);
    ~CMqttSettingDlg() override;

private:
    QLineEdit* AddText(const char* key, const QString& label, const std::string& value);
    QCheckBox* AddCheck(const char* key, const QString& label, bool value);
    // False, after telling the operator, when the port is not a number.
    bool Read(MqttSettings& settings);
    void OnTestConnection();
    void OnTestTimer();
    void ShowTestResult(const QString& text);
    void OnOK();

    CHeliowatchDoc& m_document;
    Publisher& m_publisher;
    class QFormLayout* m_form;
    QCheckBox* m_enable;
    QLineEdit* m_host;
    QLineEdit* m_port;
    QLineEdit* m_clientId;
    QLineEdit* m_user;
    QLineEdit* m_passwordFile;
    QLineEdit* m_password;
    QCheckBox* m_tls;
    QLineEdit* m_caFile;
    QLineEdit* m_topicPrefix;
    QCheckBox* m_discovery;
    QLineEdit* m_discoveryPrefix;
    QPushButton* m_test;
    QLabel* m_testResult;
    QTimer* m_testTimer;
    std::future<std::string> m_testOutcome;
};
