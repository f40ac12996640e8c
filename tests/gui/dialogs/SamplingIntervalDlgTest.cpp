#include "gui/SamplingIntervalDlg.h"

#include "ModalRun.h"
#include "Recorders.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "platform/ExitEvent.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/PaneTargets.h"
#include "store/SettingsStore.h"
#include "widgets/DialogUnits.h"
#include "widgets/MessageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString INVALID_NUMBER = "Please enter an integer.";
const QString BELOW_ONE = "Interval must >=1S";
const QString ABOVE_A_DAY = "Interval must <= 86400S";

class SamplingIntervalDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nInterval = 2;
        g_hGeneralStatusWnd = &general;
        g_hTodayEnergyWnd = &today;
        g_hPowerWnd = &power;
        settingsPath = directory.Path() + "/Heliowatch.ini";
    }
    void TearDown() override {
        document.reset();
        g_hGeneralStatusWnd = nullptr;
        g_hTodayEnergyWnd = nullptr;
        g_hPowerWnd = nullptr;
        g_hExitEvent.Reset();
        g_nInterval = 2;
    }
    void OpenDocument() {
        document.reset();
        document = std::make_unique<CHeliowatchDoc>(CommEnvironment{}, settingsPath);
        ASSERT_TRUE(document->LoadSettings());
        dialog.SetDocument(document.get());
    }
    QLineEdit* Edit() { return dialog.findChild<QLineEdit*>(QString::number(IDC_INTERVAL)); }
    QPushButton* Button(int id) { return dialog.findChild<QPushButton*>(QString::number(id)); }
    // Types over the shown value, which opens selected, then presses OK.
    void EnterAndConfirm(const QString& text) {
        QTest::keyClicks(Edit(), text);
        QTest::mouseClick(Button(IDOK), Qt::LeftButton);
    }
    int StoredInterval() const {
        return SettingsStore(settingsPath).GetInt("Interval", "Interval", -1);
    }
    int IntervalChanges() const {
        return general.Count(WM_INTERVAL_CHANGED) + today.Count(WM_INTERVAL_CHANGED) +
               power.Count(WM_INTERVAL_CHANGED);
    }

    TempDirectory directory;
    std::string settingsPath;
    RecordingTarget general, today, power;
    std::unique_ptr<CHeliowatchDoc> document;
    CSamplingIntervalDlg dialog;
};

TEST_F(SamplingIntervalDlgTest, OpensWithTheIntervalInUse) {
    OpenDocument();
    QString shown;
    RunModal(dialog, [&] { shown = Edit()->text(); });
    EXPECT_EQ(shown, "2");

    std::ofstream(settingsPath) << "[Interval]\nInterval=7\n";
    OpenDocument();
    RunModal(dialog, [&] { shown = Edit()->text(); });
    EXPECT_EQ(shown, "7");
}

TEST_F(SamplingIntervalDlgTest, NewIntervalTakesEffectTellsThePanesAndIsStored) {
    OpenDocument();
    const int result = RunModal(dialog, [&] { EnterAndConfirm("1"); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(g_nInterval, 1);
    EXPECT_EQ(general.Count(WM_INTERVAL_CHANGED), 1);
    EXPECT_EQ(today.Count(WM_INTERVAL_CHANGED), 1);
    EXPECT_EQ(power.Count(WM_INTERVAL_CHANGED), 1);
    EXPECT_EQ(StoredInterval(), 1);
}

// A file put where the settings' folder was stops the save for anyone, root
// included.
TEST_F(SamplingIntervalDlgTest, ASaveThatFailsIsToldInTheWindowWithItsReason) {
    const std::string folder = directory.Path() + "/settings";
    std::filesystem::create_directory(folder);
    settingsPath = folder + "/Heliowatch.ini";
    OpenDocument();
    std::filesystem::remove(folder);
    std::ofstream(folder) << "a file, not a folder";
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    const int result = RunModal(dialog, [&] { EnterAndConfirm("5"); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(g_nInterval, 5);
    const std::string told = MessageBox::LastText().toStdString();
    EXPECT_EQ(told.rfind("The settings could not be saved: ", 0), 0u) << told;
    EXPECT_NE(told.find(settingsPath), std::string::npos) << told;
}

TEST_F(SamplingIntervalDlgTest, ReturnInTheEditConfirms) {
    OpenDocument();
    const int result = RunModal(dialog, [&] {
        QTest::keyClicks(Edit(), "15");
        QTest::keyClick(Edit(), Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(g_nInterval, 15);
}

TEST_F(SamplingIntervalDlgTest, UnchangedIntervalClosesQuietlyButIsStillStored) {
    OpenDocument();
    const int result = RunModal(dialog, [&] { QTest::mouseClick(Button(IDOK), Qt::LeftButton); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(IntervalChanges(), 0);
    EXPECT_EQ(StoredInterval(), 2);
}

TEST_F(SamplingIntervalDlgTest, ZeroIsRefusedAndTheDialogStaysOpen) {
    OpenDocument();
    bool stayedOpen = false;
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    RunModal(dialog, [&] {
        EnterAndConfirm("0");
        stayedOpen = dialog.isVisible();
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(MessageBox::HasPendingAnswers());
    EXPECT_EQ(MessageBox::LastText(), BELOW_ONE);
    EXPECT_EQ(MessageBox::LastCaption(), "");
    EXPECT_EQ(g_nInterval, 2);
    EXPECT_EQ(IntervalChanges(), 0);
    EXPECT_EQ(StoredInterval(), -1);
}

TEST_F(SamplingIntervalDlgTest, NoNumberIsRefusedWithTheInvalidNumberMessage) {
    OpenDocument();
    for (const QString& text : {QString(), QString("-3"), QString(" 5"), QString("7s")}) {
        bool stayedOpen = false;
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        RunModal(dialog, [&] {
            Edit()->clear();
            EnterAndConfirm(text);
            stayedOpen = dialog.isVisible();
        });
        EXPECT_TRUE(stayedOpen) << text.toStdString();
        EXPECT_FALSE(MessageBox::HasPendingAnswers());
        EXPECT_EQ(MessageBox::LastText(), INVALID_NUMBER);
    }
    EXPECT_EQ(g_nInterval, 2);
    EXPECT_EQ(StoredInterval(), -1);
}

TEST_F(SamplingIntervalDlgTest, ADayIsTheLongestInterval) {
    OpenDocument();
    for (const QString& text :
         {QString("86401"), QString("2147483648"), QString("99999999999999999999999")}) {
        bool stayedOpen = false;
        MessageBox::SetNextAnswer(QMessageBox::Ok);
        RunModal(dialog, [&] {
            EnterAndConfirm(text);
            stayedOpen = dialog.isVisible();
        });
        EXPECT_TRUE(stayedOpen) << text.toStdString();
        EXPECT_EQ(MessageBox::LastText(), ABOVE_A_DAY) << text.toStdString();
    }
    EXPECT_EQ(g_nInterval, 2);
    EXPECT_EQ(StoredInterval(), -1);

    const int result = RunModal(dialog, [&] { EnterAndConfirm("86400"); });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(g_nInterval, 86400);
}

TEST_F(SamplingIntervalDlgTest, NonDigitsAreShownAndRefusedNotDropped) {
    OpenDocument();
    QString shown;
    MessageBox::SetNextAnswer(QMessageBox::Ok);
    RunModal(dialog, [&] {
        EnterAndConfirm("1.5");
        shown = Edit()->text();
    });
    EXPECT_EQ(shown, "1.5");
    EXPECT_EQ(MessageBox::LastText(), INVALID_NUMBER);
    EXPECT_EQ(g_nInterval, 2);
}

TEST_F(SamplingIntervalDlgTest, CancelChangesNothing) {
    OpenDocument();
    const int result = RunModal(dialog, [&] {
        QTest::keyClicks(Edit(), "9");
        QTest::mouseClick(Button(IDCANCEL), Qt::LeftButton);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(g_nInterval, 2);
    EXPECT_EQ(StoredInterval(), -1);
}

TEST_F(SamplingIntervalDlgTest, WithoutADocumentTheDialogCancelsItselfUnseen) {
    bool shown = false;
    EXPECT_EQ(RunModal(dialog, [&] { shown = true; }), QDialog::Rejected);
    EXPECT_FALSE(shown);
}

TEST_F(SamplingIntervalDlgTest, LayoutFollowsTheDialogUnits) {
    const DialogUnits units(dialog.font());
    EXPECT_EQ(dialog.windowTitle(), "Sampling interval");
    EXPECT_EQ(dialog.size(), units.Rect(0, 0, 215, 95).size());
    EXPECT_EQ(Edit()->geometry(), units.Rect(70, 16, 57, 14));
    EXPECT_EQ(Button(IDOK)->geometry(), units.Rect(39, 74, 50, 14));
    EXPECT_EQ(Button(IDCANCEL)->geometry(), units.Rect(103, 74, 50, 14));
    EXPECT_TRUE(Button(IDOK)->isDefault());
}

} // namespace
