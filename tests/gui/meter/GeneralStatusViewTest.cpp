#include "gui/GeneralStatusView.h"

#include "FieldContrast.h"
#include "IdleEnvironment.h"
#include "Recorders.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "platform/ExitEvent.h"
#include "store/HeliowatchDoc.h"
#include "widgets/DialogUnits.h"
#include "widgets/WindowMessageEvent.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A general status pane in its frame, on a document with one port whose
// thread ends at once, leaving the records to the test.
class GeneralStatusViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_viewsCreated = 0;
        g_nInterval = 2;
        document = std::make_unique<CHeliowatchDoc>(environment, directory.Path() + "/none.ini");
        document->AddPortGroup(1, 0);
        view = new CGeneralStatusView(*document);
        frame.setWidget(view);
        view->OnInitialUpdate();
    }
    void TearDown() override {
        frame.setWidget(nullptr);
        delete view;
        document.reset();
        g_hExitEvent.Reset();
        g_nInterval = 2;
    }

    // Online, current and free of errors, so it counts towards the plant's power.
    void AddInverter(int tenthsOfWatt, int hundredthsOfKwhToday, int tenthsOfKwhTotal) {
        CInverterGroup& group = *document->GetGroups()[0];
        auto inverter = group.CreateInverter(static_cast<std::uint8_t>(++addresses));
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_nPac = static_cast<std::uint16_t>(tenthsOfWatt);
        data->m_nEToday = static_cast<std::uint16_t>(hundredthsOfKwhToday);
        data->m_dwETotal = static_cast<std::uint32_t>(tenthsOfKwhTotal);
        data->m_tSample = std::time(nullptr);
        inverter->m_pRuntimeData = std::move(data);
        group.m_bPortOpen = 1;
        inverter->m_bOnline = 1;
        inverter->m_nErrorState = 1;
        group.AppendInverter(std::move(inverter));
    }
    QString Text(int id) const { return view->findChild<QLineEdit*>(QString::number(id))->text(); }
    CMeter& Meter() const { return *view->findChild<CMeter*>("1084"); }
    QTimer& RefreshTimer() const { return *view->findChild<QTimer*>("1"); }

    TempDirectory directory;
    RecordingNotifier notifier;
    CommEnvironment environment = IdleEnvironment(notifier);
    std::unique_ptr<CHeliowatchDoc> document;
    QMdiSubWindow frame;
    CGeneralStatusView* view = nullptr;
    int addresses = 0;
};

TEST_F(GeneralStatusViewTest, FormFollowsItsTemplate) {
    const DialogUnits units(DialogUnits::DialogFont());
    EXPECT_EQ(view->sizeHint(), units.Rect(0, 0, 341, 137).size());
    EXPECT_EQ(Meter().geometry(), units.Rect(185, 20, 139, 104));
    EXPECT_EQ(view->findChild<QGroupBox*>("1000")->title(), "Energy");
    EXPECT_EQ(view->findChild<QGroupBox*>("1001")->title(), "Power");
    EXPECT_EQ(view->findChild<QGroupBox*>("1082")->title(), "Output Power");
    EXPECT_EQ(view->findChild<QGroupBox*>("1082")->geometry(), units.Rect(176, 7, 158, 122));
    const char* labels[][2] = {{"1017", "Today"}, {"1020", "KWh"},   {"1018", "Lifetime"},
                               {"1021", "KWh"},   {"1019", "Power"}, {"1022", "W"}};
    for (const auto& [id, text] : labels) {
        EXPECT_EQ(view->findChild<QLabel*>(id)->text(), text) << id;
    }
    for (const char* id : {"1002", "1003", "1004"}) {
        auto* edit = view->findChild<QLineEdit*>(id);
        EXPECT_TRUE(edit->isReadOnly() && edit->isEnabled()) << id;
        EXPECT_GE(FieldContrast(*edit), 4.5) << id;
    }
    EXPECT_EQ(view->findChild<QLineEdit*>("1004")->geometry(), units.Rect(81, 103, 57, 14));
}

TEST_F(GeneralStatusViewTest, UntilTheFirstTickTheBoxesAreEmptyAndTheGaugeAtZero) {
    EXPECT_EQ(frame.windowTitle(), "General Status");
    for (int id : {1002, 1003, 1004}) {
        EXPECT_EQ(Text(id), "") << id;
    }
    EXPECT_EQ(Meter().GetValue(), 0.0);
    EXPECT_EQ(Meter().GetRangeMin(), 0.0);
    EXPECT_EQ(Meter().GetRangeMax(), 100.0);
    EXPECT_TRUE(RefreshTimer().isActive());
    EXPECT_EQ(RefreshTimer().interval(), 2000);
}

TEST_F(GeneralStatusViewTest, WithNoInvertersEverythingReadsZero) {
    view->OnTimer();
    EXPECT_EQ(Text(1002), "0.0");
    EXPECT_EQ(Text(1003), "0.0");
    EXPECT_EQ(Text(1004), "0");
    EXPECT_EQ(Meter().GetValue(), 0.0);
    EXPECT_EQ(Meter().GetRangeMax(), 100.0);
}

TEST_F(GeneralStatusViewTest, TotalsFillTheBoxes) {
    AddInverter(12345, 150, 10);
    AddInverter(5, 25, 2);
    view->OnTimer();
    EXPECT_EQ(Text(1002), "1.8"); // 1.50 + 0.25 kWh
    EXPECT_EQ(Text(1003), "1.2");
    EXPECT_EQ(Text(1004), "1235"); // 1235.0 W
    EXPECT_EQ(view->findChild<QLabel*>("1085")->text(), "2 of 2 reporting");
}

TEST_F(GeneralStatusViewTest, OnlyReportingInvertersAddPowerAndTheGaugeShowsTheFieldsFigure) {
    AddInverter(44386, 0, 0);
    AddInverter(2, 0, 0);
    AddInverter(10000, 0, 0);
    {
        CInverter& aged = *document->GetGroups()[0]->m_inverters.back();
        auto lock = aged.Lock();
        dynamic_cast<SingleRuntimeData&>(*aged.m_pRuntimeData).m_tSample -= 60;
    }
    view->OnTimer();
    EXPECT_EQ(view->findChild<QLabel*>("1085")->text(), "2 of 3 reporting");
    EXPECT_EQ(Text(1004), "4439"); // 4438.8 W without the stale 1000 W
    EXPECT_EQ(Text(1004), QString::asprintf("%.0f", Meter().GetValue()));
}

TEST_F(GeneralStatusViewTest, TheGaugeScaleFollowsThePower) {
    struct Case {
        int tenthsOfWatt;
        double top;
    };
    // Below 100 W the scale stays 0 to 100.
    for (const Case& check : {Case{1500, 200.0}, Case{1000, 100.0}, Case{400, 100.0},
                              Case{23450, 3000.0}, Case{9, 100.0}}) {
        document->GetGroups()[0]->m_inverters.clear();
        AddInverter(check.tenthsOfWatt, 0, 0);
        view->OnTimer();
        EXPECT_EQ(Meter().GetRangeMin(), 0.0);
        EXPECT_EQ(Meter().GetRangeMax(), check.top) << check.tenthsOfWatt;
        EXPECT_DOUBLE_EQ(Meter().GetValue(), check.tenthsOfWatt / 10.0);
    }
}

TEST_F(GeneralStatusViewTest, TheTimerFollowsAChangedInterval) {
    g_nInterval = 5;
    WindowMessageEvent changed(WM_INTERVAL_CHANGED, 0);
    QCoreApplication::sendEvent(view, &changed);
    EXPECT_EQ(RefreshTimer().interval(), 5000);

    // A tick that finds another interval than it last armed re-arms too.
    g_nInterval = 3;
    view->OnTimer();
    EXPECT_EQ(RefreshTimer().interval(), 3000);
    EXPECT_TRUE(RefreshTimer().isActive());
}

TEST_F(GeneralStatusViewTest, TheTimerDrivesTheTicks) {
    AddInverter(1500, 0, 0);
    RefreshTimer().start(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Text(1004) == "150"; }, 2000));
}

} // namespace
