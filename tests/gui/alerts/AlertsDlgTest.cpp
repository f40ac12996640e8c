#include "gui/AlertsDlg.h"

#include "BrokerRecorder.h"
#include "HttpReceiver.h"
#include "ModalRun.h"
#include "NotificationService.h"
#include "SmtpReceiver.h"
#include "TempDirectory.h"
#include "TestBroker.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
using namespace std::chrono_literals;

class AlertsDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(webhook.Start());
        ASSERT_TRUE(mail.Start());
        ASSERT_TRUE(broker.Start());
        const std::string password = directory.Path() + "/smtp-password";
        std::ofstream(password) << "mail-pass\n";
        chmod(password.c_str(), 0600);
        settingsPath = directory.Path() + "/Heliowatch.ini";
        std::ofstream(settingsPath)
            << "[Alerts]\nWebhookUrl=" << webhook.Url("/hook") << "\nSmtpUrl=" << mail.Url()
            << "\nCaFile=" << mail.CaFile() << "\nSmtpUser=station\nSmtpPasswordFile=" << password
            << "\nMailFrom=station@example.org\n";
        mqtt.enable = true;
        mqtt.host = "127.0.0.1";
        mqtt.port = broker.Port();
        mqtt.topicPrefix = "sites/roof";
    }

    // Sends a test through one channel and gives what the dialog said.
    QString SendTest(CAlertsDlg& dialog, const QString& channel) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("Test" + channel), Qt::LeftButton);
        QLabel* result = dialog.findChild<QLabel*>(channel + "Result");
        EXPECT_TRUE(QTest::qWaitFor([&] { return result->text() != "Sending..."; }, 20000));
        return result->text();
    }

    TempDirectory directory;
    std::string settingsPath;
    HttpReceiver webhook;
    SmtpReceiver mail{"station", "mail-pass"};
    TestBroker broker;
    MqttSettings mqtt;
};

// libdbus keeps the first session bus address it was given for the life of
// the process: one test sets it up.
TEST_F(AlertsDlgTest, SendTestGoesThroughEachChannelAsTheDialogShowsIt) {
    NotificationService desktop;
    ASSERT_TRUE(desktop.Start());
    BrokerRecorder recorder(broker.Port());
    bool applied = false;
    CAlertsDlg dialog(settingsPath, mqtt, [&](const AlertSettings&) { applied = true; });
    std::map<QString, QString> said;
    RunModal(dialog, [&] {
        said["Mail"] = SendTest(dialog, "Mail");
        QLineEdit* to = dialog.findChild<QLineEdit*>("MailTo");
        to->setText("owner@example.org");
        for (const QString channel : {"Webhook", "Mail", "Desktop", "Mqtt"}) {
            said[channel] = SendTest(dialog, channel);
        }
    });
    EXPECT_EQ(said["Mail"], "Sent: look for the test alert.");
    EXPECT_EQ(said["Webhook"], "Sent: look for the test alert.");
    EXPECT_EQ(said["Desktop"], "Sent: look for the test alert.");
    EXPECT_EQ(said["Mqtt"], "Sent: look for the test alert.");
    EXPECT_FALSE(applied) << "a test saves and applies nothing";

    ASSERT_EQ(webhook.Requests().size(), 1U);
    EXPECT_NE(webhook.Requests()[0].body.find("\"rule\":\"test\""), std::string::npos);
    const auto message = mail.NextMessage(5s);
    ASSERT_TRUE(message);
    EXPECT_NE(message->find("owner@example.org"), std::string::npos);
    ASSERT_EQ(desktop.Notifications().size(), 1);
    EXPECT_TRUE(desktop.Notifications()[0].startsWith("Test alert\n"));
    EXPECT_TRUE(recorder.WaitFor("sites/roof/alert", 5s));
}

TEST_F(AlertsDlgTest, AChannelThatFailsSaysWhyAndOkSavesAndAppliesTheChannels) {
    std::optional<AlertSettings> applied;
    CAlertsDlg dialog(settingsPath, mqtt,
                      [&](const AlertSettings& settings) { applied = settings; });
    QString said;
    const int result = RunModal(dialog, [&] {
        said = SendTest(dialog, "Mail");
        QLineEdit* to = dialog.findChild<QLineEdit*>("MailTo");
        to->setText("a@example.org, b@example.org");
        QTest::keyClick(to, Qt::Key_Return);
    });
    EXPECT_EQ(said, "Failed: MailTo names nobody");
    EXPECT_EQ(result, QDialog::Accepted);
    const std::vector<std::string> both{"a@example.org", "b@example.org"};
    EXPECT_EQ(LoadAlertSettings(settingsPath).mailTo, both);
    EXPECT_EQ(LoadAlertSettings(settingsPath).caFile, mail.CaFile()) << "other keys stay";
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->mailTo, both);
}

} // namespace
