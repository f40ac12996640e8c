#include "ModalRun.h"
#include "PasswordAnswer.h"
#include "QStringPrinter.h"
#include "SimulatedPlant.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "gui/ParameterSettingDlg.h"
#include "model/InverterGroup.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "platform/PortDirectory.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/ParamAudit.h"
#include "widgets/MessageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

constexpr int PORT = 5;

// The station's document polls one simulated inverter through the real
// communication thread over a pseudo-terminal, in real time.
class ParamBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_viewsCreated = 1;
        g_nInterval = 1;
        ASSERT_TRUE(plant.Start());
        SetPortDirectory(plant.PortDirectory());
        SetDataDirectory(data.Path());
        const std::string settings = data.Path() + "/Heliowatch.ini";
        std::ofstream(settings) << "[Com" << PORT << "]\nEnable=1\n";
        document = std::make_unique<CHeliowatchDoc>(CommEnvironment::Default(), settings);
        ASSERT_TRUE(document->OnNewDocument());
    }
    void TearDown() override {
        document.reset();
        plant.Stop();
        SetPortDirectory("");
        g_hExitEvent.Reset();
        g_viewsCreated = 0;
        g_nInterval = 2;
    }
    // The inverter once its parameters have been read at registration.
    CInverter* AwaitRegistered() {
        CInverter* found = nullptr;
        const bool registered = QTest::qWaitFor(
            [&] {
                CInverterGroup* group = document->GetGroups().at(0);
                auto lock = group->Lock();
                const auto records = group->Inverters();
                if (!records.empty() && records[0]->m_params[0] != 0) {
                    found = records[0];
                }
                return found != nullptr;
            },
            15000);
        return registered ? found : nullptr;
    }

    TempDirectory data;
    SimulatedPlant plant{PORT, 1};
    std::unique_ptr<CHeliowatchDoc> document;
};

QLineEdit* Edit(CParameterSettingDlg& dialog, int id) {
    return dialog.findChild<QLineEdit*>(QString::number(id));
}

// Sets Vpv-Start to 155.0 and gives the message the write ends with.
QString SetVpvStart(CHeliowatchDoc& document, CInverter* inverter) {
    CParameterSettingDlg dialog(document, inverter);
    dialog.SetTiming({milliseconds(10), milliseconds(0), OutcomeTiming{}});
    QString message;
    RunModal(dialog, [&] {
        Edit(dialog, IDC_PARAM_VPV_START)->setText("155.0");
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        PasswordAnswer password({"Vexor"});
        QTest::mouseClick(dialog.findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([] { return !MessageBox::HasPendingAnswers(); }, 20000));
        message = MessageBox::LastText();
    });
    return message;
}

TEST_F(ParamBusTest, WrittenParametersReachTheInverterAndReadBack) {
    CInverter* inverter = AwaitRegistered();
    ASSERT_NE(inverter, nullptr);

    CParameterSettingDlg dialog(*document, inverter);
    // Only the pause before queueing is cut; the thread's report is awaited
    // as long as the port may take.
    dialog.SetTiming({milliseconds(10), milliseconds(0), OutcomeTiming{}});
    QStringList passwordMessages;
    RunModal(dialog, [&] {
        Edit(dialog, IDC_PARAM_VPV_START)->setText("150.5");
        Edit(dialog, IDC_PARAM_FAC_MIN)->setText("49.80");
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        PasswordAnswer password({"vexor", "Vexor"});
        QTest::mouseClick(dialog.findChild<QPushButton*>(QString::number(IDOK)), Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([] { return !MessageBox::HasPendingAnswers(); }, 20000));
        passwordMessages = password.Messages();
    });
    EXPECT_EQ(passwordMessages, QStringList({"Error password", ""}));
    EXPECT_EQ(MessageBox::LastText(), "Set OK");
    const SimUnit unit = plant.Unit(1);
    EXPECT_EQ(unit.params[0], 1505);
    EXPECT_EQ(unit.params[6], 4980);

    CParameterSettingDlg again(*document, inverter);
    QStringList shown;
    RunModal(again, [&] {
        shown << Edit(again, IDC_PARAM_VPV_START)->text() << Edit(again, IDC_PARAM_FAC_MIN)->text();
    });
    EXPECT_EQ(shown, QStringList({"150.5", "49.80"}));
}

TEST_F(ParamBusTest, ARefusalAndASilenceAreToldApartAndEveryWriteIsRecorded) {
    CInverter* inverter = AwaitRegistered();
    ASSERT_NE(inverter, nullptr);
    std::string serialNo;
    document->WithInverter(inverter, [&serialNo](CInverter& record, CInverterGroup&) {
        serialNo = record.m_strSerialNo;
    });

    ASSERT_EQ(plant.Execute("set COM5:1 nak on").rfind("ok", 0), 0u);
    EXPECT_EQ(SetVpvStart(*document, inverter), "Set Vpv-Start fail: refused by the inverter");
    ASSERT_EQ(plant.Execute("set COM5:1 nak off").rfind("ok", 0), 0u);
    ASSERT_TRUE(plant.SwitchOff(1));
    EXPECT_EQ(SetVpvStart(*document, inverter), "Set Vpv-Start fail: no answer");
    ASSERT_TRUE(plant.SwitchOn(1));
    EXPECT_EQ(SetVpvStart(*document, inverter), "Set OK");

    QStringList recorded;
    for (const ParamAuditEntry& entry : ReadParamAudit(serialNo)) {
        recorded << QString::fromStdString(entry.parameter + " " + entry.oldValue + " " +
                                           entry.newValue + " " + entry.outcome);
    }
    EXPECT_EQ(recorded,
              QStringList({"Vpv-Start 150.0 155.0 refused by the inverter",
                           "Vpv-Start 150.0 155.0 no answer", "Vpv-Start 150.0 155.0 written"}));
}

} // namespace
