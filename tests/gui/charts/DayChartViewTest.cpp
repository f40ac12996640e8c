#include "ChartImage.h"
#include "IdleEnvironment.h"
#include "Recorders.h"
#include "charts/PowerView.h"
#include "charts/TodayEnergyView.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "store/HeliowatchDoc.h"
#include "widgets/StationPalette.h"
#include "widgets/WindowMessageEvent.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DayChartViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_nInterval = 2;
        SetDataDirectory(::testing::TempDir());
        document = std::make_unique<CHeliowatchDoc>(environment, ::testing::TempDir() + "/no.ini");
        document->AddPortGroup(3, 0);
    }
    void TearDown() override {
        document.reset();
        g_nInterval = 2;
        g_hExitEvent.Reset();
    }
    // An inverter producing power (0.1 W) with energy of the day (0.01 kWh).
    void AddInverter(std::uint8_t address, std::uint16_t pac, std::uint16_t eToday) {
        CInverterGroup& group = *document->GetGroups().back();
        auto record = group.CreateInverter(address);
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_nPac = pac;
        data->m_nEToday = eToday;
        data->m_tSample = std::time(nullptr);
        record->m_pRuntimeData = std::move(data);
        group.m_bPortOpen = 1;
        record->m_bOnline = 1;
        record->m_nErrorState = 1;
        auto lock = group.Lock();
        group.AppendInverter(std::move(record));
    }
    static QImage Grab(QWidget& view) {
        return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    static void SendIntervalChanged(QWidget& view) {
        WindowMessageEvent message(WM_INTERVAL_CHANGED, 0);
        QCoreApplication::sendEvent(&view, &message);
    }

    RecordingNotifier notifier;
    CommEnvironment environment = IdleEnvironment(notifier);
    std::unique_ptr<CHeliowatchDoc> document;
};

TEST_F(DayChartViewTest, PanesHaveTheirCaptionsAndAppearance) {
    QMdiSubWindow powerFrame;
    auto* power = new CPowerView(*document);
    powerFrame.setWidget(power);
    power->OnInitialUpdate();
    QMdiSubWindow energyFrame;
    auto* energy = new CTodayEnergyView(*document);
    energyFrame.setWidget(energy);
    energy->OnInitialUpdate();

    EXPECT_EQ(powerFrame.windowTitle(), "Power");
    EXPECT_EQ(power->Graph().CurveColour(), StationPalette::POWER_CURVE);
    EXPECT_EQ(power->Graph().Unit(), "W");
    EXPECT_TRUE(power->Graph().Title().isEmpty());
    EXPECT_FALSE(power->Graph().FourHourLabels());
    EXPECT_EQ(energyFrame.windowTitle(), "Today Energy");
    EXPECT_EQ(energy->Graph().CurveColour(), StationPalette::ENERGY_CURVE);
    EXPECT_EQ(energy->Graph().Unit(), "KWh");
    EXPECT_TRUE(energy->Graph().Title().isEmpty());
    EXPECT_FALSE(energy->Graph().FourHourLabels());
}

TEST_F(DayChartViewTest, TimerIsArmedWithTheSamplingIntervalAtInitialUpdate) {
    CPowerView view(*document);
    EXPECT_FALSE(view.IsTimerArmed());
    view.OnInitialUpdate();
    EXPECT_TRUE(view.IsTimerArmed());
    EXPECT_EQ(view.TimerPeriod(), 2000);
}

TEST_F(DayChartViewTest, IntervalChangedMessageReArmsTheTimer) {
    CTodayEnergyView view(*document);
    view.OnInitialUpdate();
    g_nInterval = 10;
    SendIntervalChanged(view);
    EXPECT_TRUE(view.IsTimerArmed());
    EXPECT_EQ(view.TimerPeriod(), 10000);
}

TEST_F(DayChartViewTest, TickReArmsTheTimerWhenTheIntervalChangedUnannounced) {
    CPowerView view(*document);
    view.OnInitialUpdate();
    g_nInterval = 5;
    view.OnTimer();
    EXPECT_EQ(view.TimerPeriod(), 5000);
}

// Each pane draws its curve of the plant, which the samples move, not the
// panes: a pane with no sample behind it shows no curve, and no zero either.
TEST_F(DayChartViewTest, EachPaneDrawsItsCurveOfThePlant) {
    CPowerView power(*document);
    CTodayEnergyView energy(*document);
    for (QWidget* view : {static_cast<QWidget*>(&power), static_cast<QWidget*>(&energy)}) {
        view->resize(640, 360);
    }
    const QColor powerColour = StationPalette::POWER_CURVE;
    const QColor energyColour = StationPalette::ENERGY_CURVE;
    EXPECT_EQ(CountPixels(Grab(power), QRect(0, 0, 640, 360), powerColour), 0);

    AddInverter(1, 12345, 250);
    AddInverter(2, 1000, 125);
    for (const auto& inverter : document->GetGroups().back()->m_inverters) {
        document->PlantCurves().OnSample(*inverter);
    }
    power.OnTimer();
    energy.OnTimer();
    CDrawGraph powerChart;
    powerChart.SetAppearance(powerColour, "W", QString(), false);
    CDrawGraph energyChart;
    energyChart.SetAppearance(energyColour, "KWh", QString(), false);
    CDaySeries powerCurve;
    CDaySeries energyCurve;
    document->PlantCurves().Read([&](const CDaySeries& powerNow, const CDaySeries& energyNow) {
        powerCurve = powerNow;
        energyCurve = energyNow;
    });
    EXPECT_DOUBLE_EQ(powerCurve.Latest()->m_dValue, 1334.5);
    EXPECT_DOUBLE_EQ(energyCurve.Latest()->m_dValue, 3.75);
    EXPECT_EQ(Grab(power), Render(powerChart, power.size(), powerCurve));
    EXPECT_EQ(Grab(energy), Render(energyChart, energy.size(), energyCurve));
    EXPECT_TRUE(power.testAttribute(Qt::WA_OpaquePaintEvent));
    EXPECT_EQ(CountPixels(Grab(power), QRect(0, 0, 640, 360), powerColour), 1);
}

} // namespace
