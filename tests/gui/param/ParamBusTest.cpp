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

} // namespace
