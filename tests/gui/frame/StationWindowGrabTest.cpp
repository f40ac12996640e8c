#include "Recorders.h"
#include "SimulatedPlant.h"
#include "comm/CommShared.h"
#include "gui/DeviceListView.h"
#include "gui/MainFrame.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "platform/PortDirectory.h"
#include "store/HeliowatchDoc.h"

#include <QMdiArea>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>

namespace {

bool IsGreen(QRgb pixel) {
    return qGreen(pixel) > qRed(pixel) + 60 && qGreen(pixel) > qBlue(pixel) + 60;
}

// The station's window on a real communication thread against the
// simulator: a registered inverter shows as a normal row with its green
// mark in the picture of the window.
TEST(StationWindowGrabTest, ShowsThePanesAndALiveRowForTheSimulatedPlant) {
    SimulatedPlant plant(7, 1);
    ASSERT_TRUE(plant.Start());
    SetPortDirectory(plant.PortDirectory());
    TempDirectory data;
    SetDataDirectory(data.Path());
    const std::string config = data.Path() + "/Heliowatch.ini";
    std::ofstream(config) << "[Com7]\nEnable=1\n[Interval]\nInterval=1\n";

    RecordingNotifier notifier;
    CommEnvironment environment = CommEnvironment::Default();
    environment.notifier = &notifier;
    CHeliowatchDoc document(environment, config);
    ASSERT_TRUE(document.OnNewDocument());
    auto frame = std::make_unique<CMainFrame>(document);
    frame->CreateListPane();
    frame->resize(1200, 800);
    frame->show();

    CDeviceListView* list = frame->ListView();
    ASSERT_TRUE(QTest::qWaitFor(
        [list] {
            return list->rowCount() == 1 && list->item(0, 7) != nullptr &&
                   list->item(0, 7)->text().endsWith(" W") && list->item(0, 7)->text() != "0 W";
        },
        20000));
    EXPECT_EQ(list->item(0, 1)->text(), "Com7");
    EXPECT_EQ(list->item(0, 2)->text(), "1");
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 4);

    EXPECT_EQ(list->item(0, 0)->text(), "Normal");
    const QImage picture = frame->grab().toImage();
    const QRect cell = list->visualItemRect(list->item(0, 0));
    bool greenSeen = false;
    for (int x = cell.left(); x < cell.left() + 24; ++x) {
        const QPoint at = list->viewport()->mapTo(frame.get(), QPoint(x, cell.center().y()));
        greenSeen |= IsGreen(picture.pixel(at));
    }
    EXPECT_TRUE(greenSeen);

    document.OnCloseDocument();
    frame.reset();
    g_viewsCreated = 0;
    g_hExitEvent.Reset();
}

} // namespace
