#include "Recorders.h"
#include "SimulatedPlant.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "gui/DeviceListView.h"
#include "gui/MainFrame.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "platform/PortDirectory.h"
#include "store/HeliowatchDoc.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <gtest/gtest.h>

namespace {

using Column = CDeviceListView::Column;

// The station's window on real communication threads against a simulated
// bus of two inverters, as an operator sees trouble arrive.
class StationTroubleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(plant.Start());
        SetPortDirectory(plant.PortDirectory());
        SetDataDirectory(data.Path());
        const std::string config = data.Path() + "/Heliowatch.ini";
        std::ofstream(config) << "[Com7]\nEnable=1\n[Interval]\nInterval=1\n[Bus]\nFastReplies=1\n";
        environment.notifier = &notifier;
        document = std::make_unique<CHeliowatchDoc>(environment, config);
        ASSERT_TRUE(document->OnNewDocument());
        frame = std::make_unique<CMainFrame>(*document);
        frame->CreateListPane();
        frame->resize(1200, 800);
        frame->show();
        list = frame->ListView();
    }
    void TearDown() override {
        document->OnCloseDocument();
        frame.reset();
        document.reset();
        SetPortDirectory("");
        g_viewsCreated = 0;
        g_hExitEvent.Reset();
    }
    bool AwaitStatus(int row, const QRegularExpression& pattern, int milliseconds) {
        return QTest::qWaitFor(
            [&] {
                return list->rowCount() == 1 && list->item(row, Column::STATUS) != nullptr &&
                       pattern.match(list->item(row, Column::STATUS)->text()).hasMatch();
            },
            milliseconds);
    }
    std::string Shown() const {
        std::string shown;
        for (int row = 0; row < list->rowCount(); ++row) {
            for (int column = 0; column < list->columnCount(); ++column) {
                shown += list->item(row, column)->text().toStdString() + " | ";
            }
            shown += "\n";
        }
        return shown;
    }
    QString Counts() const { return frame->findChild<QToolButton*>("PlantCounts")->text(); }

    SimulatedPlant plant{7, 1};
    TempDirectory data;
    RecordingNotifier notifier;
    CommEnvironment environment = CommEnvironment::Default();
    std::unique_ptr<CHeliowatchDoc> document;
    std::unique_ptr<CMainFrame> frame;
    CDeviceListView* list = nullptr;
};

TEST_F(StationTroubleTest, AFaultIsNamedInItsRowAndCountedInTheStatusBar) {
    ASSERT_TRUE(AwaitStatus(0, QRegularExpression("^Normal$"), 20000)) << Shown();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Counts() == "No faults"; }, 2000));
    ASSERT_EQ(plant.Execute("set COM7:1 fault 2 0x400").rfind("ok", 0), 0u);
    EXPECT_TRUE(AwaitStatus(
        0, QRegularExpression("^Fault: Ground current is too high since \\d\\d:\\d\\d$"), 5000))
        << Shown();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Counts() == "1 fault"; }, 2000))
        << Counts().toStdString();
}

TEST_F(StationTroubleTest, AVanishedPortTurnsItsRowsStaleAtOnceAndTheirPowerLeavesThePlant) {
    ASSERT_TRUE(AwaitStatus(0, QRegularExpression("^Normal$"), 20000)) << Shown();
    ASSERT_TRUE(QTest::qWaitFor([&] { return document->GetTotalPower() > 0.0; }, 5000));
    QElapsedTimer sinceVanished;
    sinceVanished.start();
    ASSERT_EQ(plant.Execute("vanish COM7").rfind("ok", 0), 0u);
    EXPECT_TRUE(AwaitStatus(0, QRegularExpression("^COM7 lost, \\d+ s ago$"), 2000)) << Shown();
    EXPECT_LE(sinceVanished.elapsed(), 2000);
    EXPECT_TRUE(list->item(0, Column::OUT_POWER)->font().italic());
    EXPECT_TRUE(list->item(0, Column::OUT_POWER)->text().endsWith(" W"));
    EXPECT_EQ(document->GetTotalPower(), 0.0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Counts() == "1 port lost"; }, 2000))
        << Counts().toStdString();
}

} // namespace
