#include "gui/ParameterSettingDlg.h"

#include "ModalRun.h"
#include "ParamDocument.h"
#include "PasswordAnswer.h"
#include "QStringPrinter.h"
#include "res/ResourceIds.h"
#include "widgets/DialogUnits.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using std::chrono::milliseconds;

const ParamWriteTiming NO_WAITS{milliseconds(0), milliseconds(0),
                                OutcomeTiming{milliseconds(0), milliseconds(0)}};

class ParameterSettingDlgTest : public ::testing::Test {
protected:
    void Open(const Params& params = TYPICAL_PARAMS) {
        inverter = plant.AddInverter(params);
        dialog = std::make_unique<CParameterSettingDlg>(plant.Document(), inverter);
        dialog->SetTiming(NO_WAITS);
    }
    template <class Widget>
    Widget* Control(int id) {
        return dialog->findChild<Widget*>(QString::number(id));
    }
    QLineEdit* Edit(ParamRowIndex row) { return Control<QLineEdit>(ParamRows()[row].editId); }
    QPushButton* Button(int id) { return Control<QPushButton>(id); }
    void Type(ParamRowIndex row, const QString& text) {
        Edit(row)->clear();
        QTest::keyClicks(Edit(row), text);
    }
    // Presses "Set" and gives the password; the one message it ends with is
    // answered.
    void StartSet() {
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        PasswordAnswer password({"Vexor"});
        QTest::mouseClick(Button(IDOK), Qt::LeftButton);
        passwordAsked = password.Appeared();
    }
    QString AwaitMessage() {
        EXPECT_TRUE(QTest::qWaitFor([] { return !MessageBox::HasPendingAnswers(); }));
        return MessageBox::LastText();
    }
    QString Set() {
        StartSet();
        return AwaitMessage();
    }

    ParamDocument plant;
    CInverter* inverter = nullptr;
    std::unique_ptr<CParameterSettingDlg> dialog;
    bool passwordAsked = false;
};

TEST_F(ParameterSettingDlgTest, OpensWithTheInvertersValuesAndTheLimitsInPlace) {
    Open({1505, 200, 5000, 1000, 1800, 3000, 4500, 5200});
    QStringList shown;
    RunModal(*dialog, [&] {
        for (std::size_t row = 0; row < PARAM_ROW_COUNT; ++row) {
            shown << Edit(static_cast<ParamRowIndex>(row))->text();
        }
    });
    EXPECT_EQ(shown, QStringList({"150.5", "200", "180.0", "300.0", "45.00", "52.00"}));
    EXPECT_EQ(dialog->windowTitle(), "Parameter setting \u2014 Com5, Address 1, Serno ");
    const std::pair<int, const char*> cells[] = {
        {IDC_VPV_START_DEFAULT, "150"}, {IDC_VPV_START_MIN, "130"}, {IDC_T_START_MAX, "200"},
        {IDC_FAC_MIN_DEFAULT, "49.80"}, {IDC_FAC_MIN_MIN, "45.00"}, {IDC_FAC_MIN_MAX, "52.00"},
    };
    for (const auto& [id, text] : cells) {
        EXPECT_EQ(Control<QLabel>(id)->text(), text) << id;
    }
    const DialogUnits units(dialog->font());
    EXPECT_EQ(dialog->size(), units.Rect(0, 0, 502, 209).size());
    EXPECT_EQ(Edit(ROW_FAC_MAX)->geometry(), units.Rect(72, 149, 60, 19));
    EXPECT_EQ(Control<QLabel>(IDC_FAC_MAX_MIN)->pos(), units.Rect(230, 149, 0, 0).topLeft());
    EXPECT_EQ(Button(IDOK)->geometry(), units.Rect(141, 184, 50, 14));
    EXPECT_EQ(Button(IDCANCEL)->geometry(), units.Rect(299, 184, 50, 14));
    EXPECT_TRUE(Button(IDOK)->isDefault());
}

TEST_F(ParameterSettingDlgTest, WithoutARecordTheDialogCancelsItselfUnseen) {
    Open();
    CParameterSettingDlg none(plant.Document(), nullptr);
    plant.Remove(inverter);
    bool shown = false;
    EXPECT_EQ(RunModal(none, [&] { shown = true; }), QDialog::Rejected);
    EXPECT_EQ(RunModal(*dialog, [&] { shown = true; }), QDialog::Rejected);
    EXPECT_FALSE(shown);
}

TEST_F(ParameterSettingDlgTest, UnchangedValuesQueueNothingAndTheDialogStaysOpen) {
    Open();
    RunModal(*dialog, [&] {
        EXPECT_EQ(Set(), "Set OK");
        EXPECT_TRUE(dialog->isVisible());
    });
    EXPECT_TRUE(plant.Pending(inverter).empty());
}

TEST_F(ParameterSettingDlgTest, ChangedValuesAreQueuedRawAndAnUnconfirmedOneIsReported) {
    Open();
    RunModal(*dialog, [&] {
        Type(ROW_VPV_START, "150.5");
        Type(ROW_FAC_MIN, "49.50");
        EXPECT_EQ(Set(), "Set Vpv-Start fail: no answer");
    });
    EXPECT_EQ(plant.Pending(inverter), (std::vector<ParamWrite>{{0x40, 1505}}));

    Open({1500, 20, 5000, 1000, 1900, 2500, 4750, 5020});
    RunModal(*dialog, [&] {
        Type(ROW_FAC_MIN, "49.80");
        EXPECT_EQ(Set(), "Set Fac-Min fail: no answer");
    });
    EXPECT_EQ(plant.Pending(inverter), (std::vector<ParamWrite>{{0x46, 4980}}));
}

// Before any password is asked.
TEST_F(ParameterSettingDlgTest, TheFirstBadInputInCheckingOrderIsNamedAndNothingIsQueued) {
    Params stopsReversed = TYPICAL_PARAMS;
    stopsReversed[3] = stopsReversed[2] + 1;
    struct Case {
        Params params;
        std::vector<std::pair<ParamRowIndex, QString>> typed;
        QString message;
        int focused; // the row whose edit gets the focus, or -1
    };
    const Case cases[] = {
        {TYPICAL_PARAMS,
         {{ROW_T_START, "20.5"}, {ROW_VPV_START, "129"}},
         "Input data not in range: Vpv-Start must be from 130.0 to 180.0 V",
         ROW_VPV_START},
        {TYPICAL_PARAMS,
         {{ROW_VAC_MAX, "300.1"}, {ROW_T_START, "20.5"}},
         "Please check input: T-Start takes whole numbers",
         ROW_T_START},
        {TYPICAL_PARAMS,
         {{ROW_VPV_START, "150.5.1"}},
         "Please check input: Vpv-Start takes at most 1 decimal",
         ROW_VPV_START},
        {stopsReversed, {{ROW_VAC_MIN, "170"}}, "Vpv-High-Stop must > Vpv-Low-Stop", -1},
        {TYPICAL_PARAMS,
         {{ROW_VAC_MIN, "200"}, {ROW_VAC_MAX, "199.9"}},
         "Vac-Max must > Vac-Min",
         -1},
        {TYPICAL_PARAMS, {{ROW_FAC_MIN, "50.21"}}, "Fac-Max must > Fac-Min", -1},
    };
    for (const Case& bad : cases) {
        Open(bad.params);
        QWidget* focus = nullptr;
        RunModal(*dialog, [&] {
            for (const auto& [row, text] : bad.typed) {
                Type(row, text);
            }
            EXPECT_EQ(Set(), bad.message);
            focus = dialog->focusWidget();
        });
        if (bad.focused >= 0) {
            EXPECT_EQ(focus, Edit(static_cast<ParamRowIndex>(bad.focused)))
                << bad.message.toStdString();
        }
        EXPECT_FALSE(passwordAsked) << bad.message.toStdString();
        EXPECT_TRUE(plant.Pending(inverter).empty()) << bad.message.toStdString();
    }
}

TEST_F(ParameterSettingDlgTest, EqualLimitsPassTheOrderCheck) {
    Open();
    RunModal(*dialog, [&] {
        Type(ROW_VAC_MIN, "200");
        Type(ROW_VAC_MAX, "200");
        EXPECT_EQ(Set(), "Set Vac-Min fail: no answer");
    });
    EXPECT_EQ(plant.Pending(inverter), (std::vector<ParamWrite>{{0x44, 2000}}));
}

TEST_F(ParameterSettingDlgTest, AWrongPasswordWritesNothing) {
    Open();
    QStringList messages;
    RunModal(*dialog, [&] {
        Type(ROW_VPV_START, "150.5");
        PasswordAnswer password({"vexor", "Vexor "});
        QTest::mouseClick(Button(IDOK), Qt::LeftButton);
        messages = password.Messages();
    });
    EXPECT_EQ(messages, QStringList({"Error password", "Error password"}));
    EXPECT_FALSE(MessageBox::HasPendingAnswers());
    EXPECT_TRUE(plant.Pending(inverter).empty());
}

TEST_F(ParameterSettingDlgTest, WhileSettingTheCursorWaitsAndOnlyTheSequenceEndsIt) {
    Open();
    dialog->SetTiming({milliseconds(0), milliseconds(500), NO_WAITS.outcome});
    const int result = RunModal(*dialog, [&] {
        Type(ROW_VPV_START, "150.5");
        StartSet();
        EXPECT_EQ(dialog->cursor().shape(), Qt::WaitCursor);
        EXPECT_EQ(Edit(ROW_T_START)->cursor().shape(), Qt::WaitCursor);
        QTest::mouseClick(Button(IDCANCEL), Qt::LeftButton);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        dialog->close();
        PasswordAnswer again({});
        QTest::mouseClick(Button(IDOK), Qt::LeftButton);
        QTest::qWait(20);
        EXPECT_FALSE(again.Appeared());
        EXPECT_TRUE(dialog->isVisible());

        EXPECT_EQ(AwaitMessage(), "Set Vpv-Start fail: no answer");
        EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(Edit(ROW_T_START)->cursor().shape(), Qt::IBeamCursor);
        QTest::mouseClick(Button(IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
}

} // namespace
