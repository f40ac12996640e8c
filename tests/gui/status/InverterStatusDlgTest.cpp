#include "gui/InverterStatusDlg.h"

#include "IdleEnvironment.h"
#include "LocalTime.h"
#include "ModalRun.h"
#include "PasswordAnswer.h"
#include "Recorders.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "comm/CommandReports.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "widgets/MessageBox.h"
#include "widgets/StationPalette.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using FieldTexts = std::vector<std::pair<int, const char*>>;

// A document with the groups of COM1 and COM3, whose threads end at once; the dialog runs modally
// with the test's password prompt and a short wait for a serial-number change.
class InverterStatusDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_viewsCreated = 0;
        g_nInterval = 2;
        SetDataDirectory(directory.Path());
        document = std::make_unique<CHeliowatchDoc>(environment, directory.Path() + "/none.ini");
        document->AddPortGroup(1, 0);
        document->AddPortGroup(3, 0);
    }
    void TearDown() override {
        document.reset();
        g_hExitEvent.Reset();
    }

    CInverter* AddInverter(int comPort, int address, const char* serialNo) {
        const std::vector<CInverterGroup*> groups = document->GetGroups();
        CInverterGroup* group = groups[comPort == 1 ? 0 : 1];
        auto inverter = group->CreateInverter(static_cast<std::uint8_t>(address));
        inverter->m_strSerialNo = serialNo;
        inverter->m_strModel = "PV-3000";
        return group->AppendInverter(std::move(inverter));
    }

    int RunDialog(CInverter* inverter, const std::function<void(CInverterStatusDlg&)>& whileOpen) {
        CInverterStatusDlg dialog(*document);
        dialog.SetInverter(inverter);
        PasswordAnswer answer(passwordAccepted ? QStringList{"Vexor"} : QStringList{});
        dialog.SetOutcomeTiming({10ms, 300ms});
        const int result = RunModal(dialog, [&dialog, &whileOpen] { whileOpen(dialog); });
        passwordPrompts = answer.Appeared() ? 1 : 0;
        return result;
    }

    TempDirectory directory;
    RecordingNotifier notifier;
    CommEnvironment environment = IdleEnvironment(notifier);
    std::unique_ptr<CHeliowatchDoc> document;
    bool passwordAccepted = true;
    int passwordPrompts = 0;
};

QLineEdit* Edit(const CInverterStatusDlg& dialog, int id) {
    return dialog.findChild<QLineEdit*>(QString::number(id));
}

void ExpectTexts(const CInverterStatusDlg& dialog, const FieldTexts& expected) {
    for (const auto& [id, text] : expected) {
        EXPECT_EQ(Edit(dialog, id)->text(), text) << "control " << id;
    }
}

const CMeter& Meter(const CInverterStatusDlg& dialog) {
    return *dialog.findChild<CMeter*>(QString::number(IDC_STATUS_METER));
}

// Posts an update the way the inverter list forwards it, and delivers it.
void ForwardUpdate(CInverter* inverter, CInverterStatusDlg& dialog) {
    inverter->m_hStatusWnd.load()->Post(WM_INVERTER_UPDATED,
                                        reinterpret_cast<std::uintptr_t>(inverter));
    QCoreApplication::sendPostedEvents(&dialog);
}

void TypeAndSet(CInverterStatusDlg& dialog, const QString& typed) {
    Edit(dialog, IDC_STATUS_SERIAL_NO)->setText(typed);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QString::number(IDC_STATUS_SET_SERIAL)),
                      Qt::LeftButton);
}

// What the port's thread does once the inverter has answered the change.
void ReportSerialChange(CInverter* inverter, CommandOutcome outcome) {
    auto lock = inverter->Lock();
    if (outcome == OUTCOME_ACKNOWLEDGED) {
        inverter->m_strSerialNo = inverter->m_strNewSerialNo;
    }
    FileCommandReport(*inverter, inverter->m_nNewSerialTicket, outcome);
}

bool AwaitMessage() {
    return QTest::qWaitFor([] { return !MessageBox::HasPendingAnswers(); });
}

// A record with a fault, a day curve, environment readings and a sample.
void FillRecord(CInverter* inverter, int ratedPower, int mode, bool online) {
    auto data = std::make_unique<SingleRuntimeData>();
    data->m_nTemp = -15;
    data->m_nVpv1 = 3105;
    data->m_nVpv2 = 2877;
    data->m_nPac = 23456;
    data->m_nEToday = 1234;
    data->m_dwETotal = 56789;
    data->m_nMode = mode;
    auto lock = inverter->Lock();
    inverter->m_pRuntimeData = std::move(data);
    inverter->m_bOnline = online ? 1 : 0;
    inverter->m_nRatedPower = ratedPower;
    inverter->m_dwErrorCode = (1U << 9) | (1U << 10);
    inverter->m_nRadiation = 5;
    inverter->m_nWindSpeed = 6;
    inverter->m_nEnvTemp = 7;
    inverter->m_nModuleTemp = 8;
    const std::time_t noon = LocalTime(2027, 3, 1, 12, 0, 0);
    for (int step = 0; step < 600; ++step) {
        inverter->m_powerGraph.AddSample({noon + 2 * step, 800.0 + step * 2.1});
    }
}

// Shown whether the inverter is online or not: the last values read.
const FieldTexts KEPT_TEXTS = {
    {IDC_STATUS_TEMPERATURE, "-1.5"}, {IDC_STATUS_FAULT, "Grid voltage =0"},
    {IDC_STATUS_ETODAY, "12.3"},      {IDC_STATUS_ETOTAL, "5678.9"},
    {IDC_STATUS_MAX_POWER, "2057"},   {IDC_STATUS_RADIATION, "5"},
    {IDC_STATUS_WIND_SPEED, "6"},     {IDC_STATUS_ENV_TEMP, "7"},
    {IDC_STATUS_MODULE_TEMP, "8"},
};

TEST_F(InverterStatusDlgTest, OnlineInverterShowsEveryFieldAndMovesTheGaugeAtTheFirstUpdate) {
    CInverter* inverter = AddInverter(3, 7, "SN0000000000007");
    FillRecord(inverter, 2345, 1, true);
    RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
        ExpectTexts(dialog, KEPT_TEXTS);
        ExpectTexts(dialog, {{IDC_STATUS_SERIAL_NO, "SN0000000000007"},
                             {IDC_STATUS_MODEL, "PV-3000"},
                             {IDC_STATUS_ADDRESS, "7"},
                             {IDC_STATUS_VPV1, "310.5"},
                             {IDC_STATUS_VPV2, "287.7"},
                             {IDC_STATUS_MODE, "Normal"},
                             {IDC_STATUS_POWER, "2346"}}); // as the gauge rounds 2345.6
        EXPECT_EQ(Meter(dialog).GetRangeMax(), 3000.0);
        EXPECT_EQ(Meter(dialog).GetValue(), 0.0);
        ForwardUpdate(inverter, dialog);
        EXPECT_NEAR(Meter(dialog).GetValue(), 2345.6, 1e-6);
    });
}

TEST_F(InverterStatusDlgTest, OfflineInverterShowsNoLiveReadingsButKeepsTheRest) {
    CInverter* inverter = AddInverter(1, 2, "SN0000000000002");
    FillRecord(inverter, 0, 2, false);
    RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
        ForwardUpdate(inverter, dialog);
        ExpectTexts(dialog, KEPT_TEXTS);
        ExpectTexts(dialog, {{IDC_STATUS_MODE, "Disconnected"},
                             {IDC_STATUS_VPV1, "\u2014"},
                             {IDC_STATUS_VPV2, "\u2014"},
                             {IDC_STATUS_POWER, "\u2014"}});
        EXPECT_EQ(Meter(dialog).GetValue(), 0.0);
        EXPECT_EQ(Meter(dialog).GetRangeMax(), 100.0);
    });
}

TEST_F(InverterStatusDlgTest, TheAddressTellsHowOftenThePortRejectedAReplyAndWhy) {
    CInverter* inverter = AddInverter(3, 7, "SN0000000000007");
    FillRecord(inverter, 2345, 1, true);
    inverter->m_pGroup->m_rejects.Count(ReplyCheck::BadChecksum);
    inverter->m_pGroup->m_rejects.Count(ReplyCheck::BadChecksum);
    inverter->m_pGroup->m_rejects.Count(ReplyCheck::NoSync);
    RunDialog(inverter, [](CInverterStatusDlg& dialog) {
        EXPECT_EQ(Edit(dialog, IDC_STATUS_ADDRESS)->toolTip(),
                  "Com3 replies rejected: no sync bytes 1, bad checksum 2");
    });
}

TEST_F(InverterStatusDlgTest, ModeTexts) {
    const std::pair<int, const char*> modes[] = {{0, "Wait"},  {1, "Normal"},
                                                 {2, "Fault"}, {3, "Permanent Fault"},
                                                 {4, "Wait"},  {-1, "Wait"}};
    for (const auto& [mode, text] : modes) {
        EXPECT_EQ(CInverterStatusDlg::ModeText(mode), text) << mode;
    }
    CInverter* inverter = AddInverter(1, 1, "THREE00000000001");
    {
        auto data = std::make_unique<ThreeRuntimeData>();
        data->m_nMode = 3;
        auto lock = inverter->Lock();
        inverter->m_pRuntimeData = std::move(data);
        inverter->m_bOnline = 1;
    }
    RunDialog(inverter, [](CInverterStatusDlg& dialog) {
        ExpectTexts(dialog, {{IDC_STATUS_MODE, "Permanent Fault"}});
    });
}

TEST_F(InverterStatusDlgTest, TypedSerialIsKeptAcrossRefreshes) {
    CInverter* inverter = AddInverter(1, 1, "SN00000000000001");
    RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
        Edit(dialog, IDC_STATUS_SERIAL_NO)->clear();
        QTest::keyClicks(Edit(dialog, IDC_STATUS_SERIAL_NO), "NEW");
        {
            auto lock = inverter->Lock();
            inverter->m_strSerialNo = "SN00000000000009";
            inverter->m_strModel = "PV-5000";
        }
        ForwardUpdate(inverter, dialog);
        ExpectTexts(dialog, {{IDC_STATUS_MODEL, "PV-5000"}, {IDC_STATUS_SERIAL_NO, "NEW"}});
    });
}

TEST_F(InverterStatusDlgTest, OpenDialogStandsInTheRecordUntilItEndsWhicheverWay) {
    const std::function<void(CInverterStatusDlg&)> endings[] = {
        [](CInverterStatusDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [](CInverterStatusDlg& dialog) { QTest::keyClick(&dialog, Qt::Key_Return); },
        [](CInverterStatusDlg& dialog) { dialog.close(); },
    };
    CInverter* inverter = AddInverter(1, 1, "SN00000000000001");
    for (const auto& end : endings) {
        RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
            EXPECT_NE(inverter->m_hStatusWnd.load(), nullptr);
            auto* timer =
                dialog.findChild<QTimer*>(QString::number(CInverterStatusDlg::REFRESH_TIMER));
            EXPECT_EQ(timer->interval(), 2000);
            end(dialog);
            EXPECT_FALSE(dialog.isVisible());
            EXPECT_FALSE(timer->isActive());
            EXPECT_EQ(inverter->m_hStatusWnd.load(), nullptr);
        });
    }
}

// Enter then closes the dialog instead of asking to change the serial number.
TEST_F(InverterStatusDlgTest, OpensWithTheFocusOnTheFirstReadOnlyField) {
    CInverter* inverter = AddInverter(1, 1, "SN00000000000001");
    RunDialog(inverter, [](CInverterStatusDlg& dialog) {
        ASSERT_EQ(dialog.focusWidget(), Edit(dialog, IDC_STATUS_MODEL));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(passwordPrompts, 0);
}

TEST_F(InverterStatusDlgTest, WithoutARegisteredRecordTheDialogCancelsBeforeShowing) {
    CInverterGroup group;
    std::unique_ptr<CInverter> unregistered = group.CreateInverter(1);
    for (CInverter* inverter : {static_cast<CInverter*>(nullptr), unregistered.get()}) {
        bool shown = false;
        EXPECT_EQ(RunDialog(inverter, [&shown](CInverterStatusDlg&) { shown = true; }),
                  QDialog::Rejected);
        EXPECT_FALSE(shown);
    }
}

TEST_F(InverterStatusDlgTest, DayCurveIsDrawnInTheChartRectangleOnTheDialogBackground) {
    CInverter* inverter = AddInverter(1, 1, "SN00000000000001");
    FillRecord(inverter, 3000, 1, true);
    RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
        const QImage picture = dialog.grab().toImage();
        const QRect chart = dialog.GetGraphRect();
        EXPECT_EQ(picture.pixelColor(chart.left() - 3, chart.center().y()), QColor(236, 236, 216));
        EXPECT_EQ(picture.pixelColor(chart.topLeft() + QPoint(1, 1)), QColor(195, 195, 195));
        int curvePixels = 0;
        for (int y = chart.top(); y <= chart.bottom(); ++y) {
            for (int x = chart.left(); x <= chart.right(); ++x) {
                curvePixels += picture.pixelColor(x, y) == StationPalette::INVERTER_CURVE ? 1 : 0;
            }
        }
        EXPECT_GT(curvePixels, 10);
    });
}

TEST_F(InverterStatusDlgTest, EachUnusableSerialHasItsMessageAndNoPasswordIsAsked) {
    CInverter* inverter = AddInverter(1, 1, "AAAA000000000001");
    AddInverter(1, 2, "abcd000000000002");
    const std::pair<const char*, const char*> cases[] = {
        {"", "Please input serno"},
        {"ABCD00000000000", "Serno is not enough"},
        {"ABCD0000000000023", "Serno is too long"},
        {"                ", "Serno are all blank"},
        {"----------------", "Serno are all blank"},
        {"ABCD000000000002", "Other inverter has the same serno"},
    };
    RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
        for (const auto& [typed, message] : cases) {
            MessageBox::SetNextAnswer(QMessageBox::Ok);
            TypeAndSet(dialog, typed);
            EXPECT_EQ(MessageBox::LastText(), message) << '"' << typed << '"';
            EXPECT_EQ(MessageBox::LastCaption(), "");
        }
    });
    EXPECT_FALSE(MessageBox::HasPendingAnswers());
    EXPECT_EQ(passwordPrompts, 0);
    EXPECT_EQ(inverter->m_bChangeSerialRequest, 0);
}

TEST_F(InverterStatusDlgTest, SerialOfAnotherPortPassesAndTheThreadsReportDecidesTheMessage) {
    CInverter* inverter = AddInverter(1, 1, "AAAA000000000001");
    AddInverter(3, 1, "BBBB000000000002");
    const std::pair<CommandOutcome, const char*> cases[] = {
        {OUTCOME_REFUSED, "Change serno fail: refused by the inverter"},
        {OUTCOME_ACKNOWLEDGED, "Change serno success"}};
    for (const auto& [outcome, message] : cases) {
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
            TypeAndSet(dialog, "BBBB000000000002");
            EXPECT_TRUE(MessageBox::HasPendingAnswers()) << "waits for the report";
            ReportSerialChange(inverter, outcome);
            EXPECT_TRUE(AwaitMessage());
        });
        EXPECT_EQ(MessageBox::LastText(), message);
        EXPECT_EQ(passwordPrompts, 1);
    }
    EXPECT_EQ(inverter->m_strSerialNo, "BBBB000000000002");
    QStringList writes;
    RunDialog(inverter, [&writes](CInverterStatusDlg& dialog) {
        const auto* table = dialog.findChild<QTableWidget*>(QString::number(IDC_STATUS_WRITES));
        for (int row = 0; row < table->rowCount(); ++row) {
            for (int column = 1; column < table->columnCount(); ++column) {
                writes << table->item(row, column)->text();
            }
        }
    });
    EXPECT_EQ(writes,
              QStringList({"Serno", "AAAA000000000001", "BBBB000000000002", "written", "Serno",
                           "AAAA000000000001", "BBBB000000000002", "refused by the inverter"}));
}

TEST_F(InverterStatusDlgTest, UnreportedSerialChangeFailsAtTheLimitWithTheWindowRunningMeanwhile) {
    CInverter* inverter = AddInverter(1, 1, "AAAA000000000001");
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
        TypeAndSet(dialog, "CCCC000000000003");
        {
            auto lock = inverter->Lock();
            inverter->m_strModel = "PV-5000";
        }
        ForwardUpdate(inverter, dialog);
        QTest::qWait(100);
        EXPECT_TRUE(MessageBox::HasPendingAnswers());
        ExpectTexts(dialog, {{IDC_STATUS_MODEL, "PV-5000"}});
        EXPECT_TRUE(AwaitMessage());
        ExpectTexts(dialog, {{IDC_STATUS_SERIAL_NO, "CCCC000000000003"}});
    });
    EXPECT_EQ(MessageBox::LastText(), "Change serno fail: no answer");
    EXPECT_EQ(inverter->m_strSerialNo, "AAAA000000000001");
    EXPECT_EQ(inverter->m_strNewSerialNo, "CCCC000000000003");
    EXPECT_EQ(inverter->m_bChangeSerialRequest, 1);
}

TEST_F(InverterStatusDlgTest, EnterInTheSerialBoxSetsTheNumberAndKeepsTheDialogOpen) {
    CInverter* inverter = AddInverter(1, 1, "AAAA000000000001");
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    RunDialog(inverter, [&](CInverterStatusDlg& dialog) {
        QLineEdit* serial = Edit(dialog, IDC_STATUS_SERIAL_NO);
        serial->setText("DDDD000000000004");
        serial->setFocus();
        QTest::keyClick(serial, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(AwaitMessage());
        EXPECT_TRUE(dialog.isVisible());
    });
    EXPECT_EQ(passwordPrompts, 1);
    EXPECT_EQ(inverter->m_strNewSerialNo, "DDDD000000000004");
}

TEST_F(InverterStatusDlgTest, CancelledPasswordChangesNothingAndShowsNoMessage) {
    CInverter* inverter = AddInverter(1, 1, "AAAA000000000001");
    passwordAccepted = false;
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    RunDialog(inverter, [](CInverterStatusDlg& dialog) { TypeAndSet(dialog, "CCCC000000000003"); });
    ASSERT_TRUE(MessageBox::HasPendingAnswers());
    MessageBox::Show(nullptr, QString(), QString()); // takes the unused answer back
    EXPECT_EQ(passwordPrompts, 1);
    EXPECT_EQ(inverter->m_bChangeSerialRequest, 0);
}

} // namespace
