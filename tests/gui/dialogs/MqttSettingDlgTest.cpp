#include "gui/MqttSettingDlg.h"

#include "ModalRun.h"
#include "TempDirectory.h"
#include "TestBroker.h"
#include "platform/ExitEvent.h"
#include "publish/Publisher.h"
#include "store/HeliowatchDoc.h"
#include "widgets/MessageBox.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace {

class MqttSettingDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        settingsPath = directory.Path() + "/Heliowatch.ini";
        std::ofstream(settingsPath) << "[Mqtt]\nHost=broker.example\nPort=1884\n";
        ASSERT_TRUE(document.LoadSettings());
        dialog = std::make_unique<CMqttSettingDlg>(document, publisher);
    }
    void TearDown() override { g_hExitEvent.Reset(); }

    template <class Widget>
    Widget* Control(const char* key) {
        return dialog->findChild<Widget*>(key);
    }
    void Type(const char* key, const QString& text) {
        Control<QLineEdit>(key)->selectAll();
        QTest::keyClicks(Control<QLineEdit>(key), text);
    }
    void Click(const char* key) { QTest::mouseClick(Control<QPushButton>(key), Qt::LeftButton); }

    TempDirectory directory;
    std::string settingsPath;
    CHeliowatchDoc document{CommEnvironment{}, directory.Path() + "/Heliowatch.ini"};
    Publisher publisher;
    std::unique_ptr<CMqttSettingDlg> dialog;
};

TEST_F(MqttSettingDlgTest, ShowsTheSettingsAndOkSavesThemAndStartsPublishing) {
    const int port = FreeLoopbackPort();
    int result = RunModal(*dialog, [&] {
        EXPECT_EQ(Control<QLineEdit>("Host")->text(), "broker.example");
        EXPECT_EQ(Control<QLineEdit>("Port")->text(), "1884");
        EXPECT_TRUE(Control<QCheckBox>("Discovery")->isChecked());
        Control<QCheckBox>("Enable")->setChecked(true);
        Type("Port", "x");
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        EXPECT_EQ(MessageBox::LastText(), "Port must be a number from 1 to 65535");
        Type("Host", "127.0.0.1");
        Type("Port", QString::number(port));
        QTest::keyClick(dialog.get(), Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    const MqttSettings saved = LoadMqttSettings(settingsPath);
    EXPECT_TRUE(saved.enable);
    EXPECT_EQ(saved.host, "127.0.0.1");
    EXPECT_EQ(saved.port, port);
    EXPECT_EQ(document.GetMqttSettings(), saved);
    EXPECT_NE(publisher.Status().state, BrokerStatus::State::Disabled);
}

// Every line of a wrapped text lies inside the label, and the label inside
// the dialog.
bool WhollyVisible(const QLabel& label, const QWidget& window) {
    const QRect inWindow(label.mapTo(&window, QPoint(0, 0)), label.size());
    return label.isVisible() && window.rect().contains(inWindow) &&
           label.height() >= label.heightForWidth(label.width());
}

TEST_F(MqttSettingDlgTest, AFailedTestShowsItsWholeReasonEvenInANarrowDialog) {
    bool visible = false;
    QString shown;
    RunModal(*dialog, [&] {
        dialog->resize(dialog->minimumSizeHint().width(), dialog->height());
        Type("Host", "127.0.0.1");
        Type("Port", QString::number(FreeLoopbackPort()));
        Click("TestConnection");
        QLabel* result = Control<QLabel>("TestResult");
        EXPECT_TRUE(QTest::qWaitFor([&] { return result->text().startsWith("Failed"); }, 5000));
        shown = result->text();
        visible = WhollyVisible(*result, *dialog);
    });
    EXPECT_TRUE(shown.endsWith(": Connection refused")) << shown.toStdString();
    EXPECT_TRUE(visible) << shown.toStdString();
}

TEST_F(MqttSettingDlgTest, TestConnectionSaysWhetherTheBrokerTookTheStation) {
    TestBroker broker;
    ASSERT_TRUE(broker.Start());
    QString refused;
    QString accepted;
    RunModal(*dialog, [&] {
        QLabel* result = Control<QLabel>("TestResult");
        Type("Host", "127.0.0.1");
        Type("Port", QString::number(FreeLoopbackPort()));
        Click("TestConnection");
        EXPECT_TRUE(QTest::qWaitFor([&] { return result->text().startsWith("Failed"); }, 5000));
        refused = result->text();
        Type("Port", QString::number(broker.Port()));
        Click("TestConnection");
        EXPECT_TRUE(QTest::qWaitFor([&] { return result->text().startsWith("Connected"); }, 5000));
        accepted = result->text();
    });
    EXPECT_TRUE(refused.endsWith(": Connection refused")) << refused.toStdString();
    EXPECT_EQ(accepted, "Connected: the broker accepted the station.");
    EXPECT_EQ(LoadMqttSettings(settingsPath).host, "broker.example") << "a test saves nothing";
}

} // namespace
