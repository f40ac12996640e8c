#include "gui/MainFrame.h"

#include "IdleEnvironment.h"
#include "Recorders.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "gui/DeviceListView.h"
#include "gui/PaneFrame.h"
#include "gui/PaneLayout.h"
#include "gui/PlantCountsButton.h"
#include "gui/StationProblemLabel.h"
#include "model/InverterGroup.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "platform/PortDirectory.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/PaneTargets.h"
#include "store/PlantTotals.h"
#include "widgets/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_viewsCreated = 0;
        SetDataDirectory(::testing::TempDir());
        document = std::make_unique<CHeliowatchDoc>(environment, ::testing::TempDir() + "/no.ini");
        frame = std::make_unique<CMainFrame>(*document);
        frame->CreateListPane();
    }
    void TearDown() override {
        frame.reset();
        document.reset();
        g_viewsCreated = 0;
        g_hExitEvent.Reset();
    }
    void ShowAndLayOut() {
        frame->resize(1200, 800);
        frame->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame->PanesCreated(); }, 2000));
    }
    CInverter* AddInverter() {
        document->AddPortGroup(3, 0);
        CInverterGroup& group = *document->GetGroups().back();
        auto record = group.CreateInverter(1);
        return group.AppendInverter(std::move(record));
    }

    RecordingNotifier notifier;
    CommEnvironment environment = IdleEnvironment(notifier);
    std::unique_ptr<CHeliowatchDoc> document;
    std::unique_ptr<CMainFrame> frame;
};

TEST(PaneLayoutTest, TwoColumnsTwoPixelsApart) {
    const PaneLayout layout = LayOutPanes(1000, 600);
    EXPECT_EQ(layout.list, QRect(QPoint(0, 0), QPoint(499, 399)));
    EXPECT_EQ(layout.generalStatus, QRect(QPoint(0, 402), QPoint(499, 597)));
    EXPECT_EQ(layout.todayEnergy, QRect(QPoint(502, 0), QPoint(999, 299)));
    EXPECT_EQ(layout.power, QRect(QPoint(502, 302), QPoint(999, 597)));
}

TEST(PaneLayoutTest, TheGeneralStatusGetsWhatItNeedsWhileTheOthersKeepAThird) {
    const PaneLayout wider = LayOutPanes(1000, 600, QSize(600, 250));
    EXPECT_EQ(wider.list, QRect(QPoint(0, 0), QPoint(599, 345)));
    EXPECT_EQ(wider.generalStatus, QRect(QPoint(0, 348), QPoint(599, 597)));
    EXPECT_EQ(wider.todayEnergy, QRect(QPoint(602, 0), QPoint(999, 299)));
    EXPECT_EQ(wider.power, QRect(QPoint(602, 302), QPoint(999, 597)));
    const PaneLayout capped = LayOutPanes(1000, 600, QSize(900, 500));
    EXPECT_EQ(capped.list, QRect(QPoint(0, 0), QPoint(665, 199)));
    EXPECT_EQ(capped.todayEnergy.left(), 668);
}

TEST_F(MainFrameTest, PanesAreCreatedOnceAndPlacedByTheLayout) {
    EXPECT_EQ(frame->windowTitle(), "Zazavoz communicator");
    ShowAndLayOut();
    const auto panes = frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(panes.size(), 4);
    const QSize client = frame->MdiArea()->viewport()->size();
    const PaneLayout layout = LayOutPanes(client.width(), client.height());
    EXPECT_EQ(panes[0]->geometry(), layout.list);
    EXPECT_EQ(panes[1]->geometry(), layout.generalStatus);
    EXPECT_EQ(panes[2]->geometry(), layout.todayEnergy);
    EXPECT_EQ(panes[3]->geometry(), layout.power);
    EXPECT_EQ(panes[0]->windowTitle(), "Inverter List");
    EXPECT_EQ(panes[1]->windowTitle(), "General Status");
    EXPECT_EQ(panes[2]->windowTitle(), "Today Energy");
    EXPECT_EQ(panes[3]->windowTitle(), "Power");
    EXPECT_EQ(g_viewsCreated, 1);
    EXPECT_EQ(g_hListWnd.load(), frame->ListView()->Target());
    EXPECT_EQ(g_hGeneralStatusWnd.load(), static_cast<PaneFrame*>(panes[1])->Target());
    EXPECT_EQ(g_hTodayEnergyWnd.load(), static_cast<PaneFrame*>(panes[2])->Target());
    EXPECT_EQ(g_hPowerWnd.load(), static_cast<PaneFrame*>(panes[3])->Target());

    frame->hide();
    frame->show();
    QTest::qWait(20);
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 4);
}

TEST_F(MainFrameTest, PanesFollowTheWindowSize) {
    ShowAndLayOut();
    for (const QSize size : {QSize(1400, 900), QSize(1300, 860)}) {
        frame->resize(size);
        QCoreApplication::processEvents();
        const QSize client = frame->MdiArea()->viewport()->size();
        const PaneLayout layout = LayOutPanes(client.width(), client.height());
        const auto panes = frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
        EXPECT_EQ(panes[0]->geometry(), layout.list);
        EXPECT_EQ(panes[1]->geometry(), layout.generalStatus);
        EXPECT_EQ(panes[2]->geometry(), layout.todayEnergy);
        EXPECT_EQ(panes[3]->geometry(), layout.power);
    }
}

TEST_F(MainFrameTest, TheListStartsWithTheFocus) {
    ShowAndLayOut();
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(),
              frame->MdiArea()->subWindowList(QMdiArea::CreationOrder).front());
    EXPECT_EQ(frame->focusWidget(), frame->ListView());
}

TEST_F(MainFrameTest, PanesCannotBeClosed) {
    ShowAndLayOut();
    for (QMdiSubWindow* pane : frame->MdiArea()->subWindowList()) {
        EXPECT_FALSE(pane->close());
        EXPECT_TRUE(pane->isVisible());
        EXPECT_FALSE(pane->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    }
    const auto panes = frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    EXPECT_FALSE(panes[0]->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(panes[3]->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(MainFrameTest, InverterCommandsNeedASelection) {
    for (const int id :
         {ID_INVERTER_STATUS, ID_PARAMETER_SETTING, ID_REMOVE_DEVICE, ID_RESET_TOTALS}) {
        EXPECT_FALSE(frame->Command(id)->isEnabled()) << id;
    }
    for (const int id : {ID_FILE_ERROR, ID_RECONNECT_ALL, ID_COMM_SETTING, ID_INTERVAL_SETTING,
                         ID_APP_ABOUT, ID_APP_EXIT}) {
        EXPECT_TRUE(frame->Command(id)->isEnabled()) << id;
    }

    document->SetCurInverter(AddInverter());
    frame->UpdateCommandStates();
    for (const int id :
         {ID_INVERTER_STATUS, ID_PARAMETER_SETTING, ID_REMOVE_DEVICE, ID_RESET_TOTALS}) {
        EXPECT_TRUE(frame->Command(id)->isEnabled()) << id;
    }
}

TEST_F(MainFrameTest, ConfirmationsDefaultToNoAndSetExactlyOneRequestOnYes) {
    CInverter* inverter = AddInverter();
    inverter->m_strSerialNo = "A1B2C3D4E5F60718";
    const QString named = "\n\nCom3, Address 1, Serno A1B2C3D4E5F60718";
    document->SetCurInverter(inverter);
    frame->UpdateCommandStates();

    MessageBox::SetNextAnswer(QMessageBox::No);
    frame->Command(ID_REMOVE_DEVICE)->trigger();
    EXPECT_EQ(MessageBox::LastText().toStdString(),
              ("Are you sure to delete device?" + named).toStdString());
    EXPECT_EQ(MessageBox::LastCaption(), "Warning");
    EXPECT_EQ(MessageBox::LastDefaultButton(), QMessageBox::No);
    MessageBox::SetNextAnswer(QMessageBox::No);
    frame->Command(ID_RESET_TOTALS)->trigger();
    EXPECT_EQ(MessageBox::LastText().toStdString(),
              ("Are you sure to reset e-total and h-total?" + named).toStdString());
    EXPECT_EQ(inverter->m_bRemoveRequest, 0);
    EXPECT_EQ(inverter->m_bResetTotalsRequest, 0);

    MessageBox::SetNextAnswer(QMessageBox::Yes);
    frame->Command(ID_RESET_TOTALS)->trigger();
    EXPECT_EQ(inverter->m_bResetTotalsRequest, 1);
    EXPECT_EQ(inverter->m_bRemoveRequest, 0);
    EXPECT_FALSE(MessageBox::HasPendingAnswers());
}

TEST_F(MainFrameTest, ReconnectAllAsksFirstThenAsksEveryGroupAndSaysSo) {
    AddInverter();
    document->AddPortGroup(4, 0);
    MessageBox::SetNextAnswer(QMessageBox::No);
    frame->Command(ID_RECONNECT_ALL)->trigger();
    EXPECT_EQ(MessageBox::LastDefaultButton(), QMessageBox::No);
    for (CInverterGroup* group : document->GetGroups()) {
        EXPECT_EQ(group->m_bReconnectRequest, 0);
    }
    MessageBox::SetNextAnswer(QMessageBox::Yes);
    frame->Command(ID_RECONNECT_ALL)->trigger();
    for (CInverterGroup* group : document->GetGroups()) {
        EXPECT_EQ(group->m_bReconnectRequest, 1);
    }
    EXPECT_EQ(frame->statusBar()->currentMessage(), "Reconnecting all devices...");
}

// Kept beside the station's settings, never in them.
TEST(WindowLayoutMemory, TheWindowItsPanesAndTheListColumnsComeBackAsTheOperatorLeftThem) {
    TempDirectory directory;
    const std::string settings = directory.Path() + "/Heliowatch.ini";
    RecordingNotifier notifier;
    CHeliowatchDoc document(IdleEnvironment(notifier), settings);
    const QRect movedPane(40, 30, 300, 200);
    QRect window;
    {
        CMainFrame frame(document);
        frame.CreateListPane();
        frame.ShowAsLeft();
        ASSERT_TRUE(QTest::qWaitFor([&frame] { return frame.PanesCreated(); }, 2000));
        frame.setGeometry(100, 80, 1000, 640);
        QCoreApplication::processEvents();
        window = frame.geometry();
        frame.MdiArea()->subWindowList(QMdiArea::CreationOrder)[2]->setGeometry(movedPane);
        frame.ListView()->horizontalHeader()->resizeSection(CDeviceListView::Column::MODEL, 333);
        frame.ListView()->horizontalHeader()->setSortIndicator(CDeviceListView::Column::ENERGY,
                                                               Qt::DescendingOrder);
        frame.close();
    }
    EXPECT_FALSE(std::filesystem::exists(settings));
    ASSERT_TRUE(std::filesystem::exists(directory.Path() + "/HeliowatchWindow.ini"));

    CMainFrame again(document);
    again.CreateListPane();
    again.ShowAsLeft();
    ASSERT_TRUE(QTest::qWaitFor([&again] { return again.PanesCreated(); }, 2000));
    QCoreApplication::processEvents();
    EXPECT_EQ(again.geometry(), window);
    const QRect pane = again.MdiArea()->subWindowList(QMdiArea::CreationOrder)[2]->geometry();
    EXPECT_LE((pane.topLeft() - movedPane.topLeft()).manhattanLength(), 2);
    EXPECT_LE((pane.bottomRight() - movedPane.bottomRight()).manhattanLength(), 2);
    EXPECT_EQ(again.ListView()->columnWidth(CDeviceListView::Column::MODEL), 333);
    EXPECT_EQ(again.ListView()->horizontalHeader()->sortIndicatorSection(),
              CDeviceListView::Column::ENERGY);
    EXPECT_EQ(again.ListView()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    g_viewsCreated = 0;
    g_hExitEvent.Reset();
}

TEST(PlantCounts, NameEachKindOfTroubleOnlyWhenThereIsSome) {
    const auto text = [](int faults, int offline, int portsLost) {
        PlantTotals totals;
        totals.faults = faults;
        totals.offline = offline;
        totals.portsLost = portsLost;
        return PlantCountsButton::CountsText(totals).toStdString();
    };
    EXPECT_EQ(text(2, 1, 1), "2 faults \u00b7 1 offline \u00b7 1 port lost");
    EXPECT_EQ(text(1, 0, 2), "1 fault \u00b7 2 ports lost");
    EXPECT_EQ(text(0, 3, 0), "3 offline");
    EXPECT_EQ(text(0, 0, 0), "No faults");
}

TEST_F(MainFrameTest, AClickOnTheCountsOpensTheErrorList) {
    ShowAndLayOut();
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->windowTitle();
            modal->close();
        }
    });
    QTest::mouseClick(frame->findChild<QToolButton*>("PlantCounts"), Qt::LeftButton);
    EXPECT_EQ(opened, "Error list");
}

TEST_F(MainFrameTest, EveryMenuAndCommandHasAnAltLetterOfItsOwn) {
    QStringList menuLetters;
    for (QAction* menu : frame->menuBar()->actions()) {
        const QString title = menu->text();
        ASSERT_TRUE(title.contains('&')) << title.toStdString();
        menuLetters << title.mid(title.indexOf('&') + 1, 1).toLower();
        QStringList itemLetters;
        for (QAction* item : menu->menu()->actions()) {
            if (!item->isSeparator()) {
                ASSERT_TRUE(item->text().contains('&')) << item->text().toStdString();
                itemLetters << item->text().mid(item->text().indexOf('&') + 1, 1).toLower();
            }
        }
        EXPECT_EQ(itemLetters.removeDuplicates(), 0) << title.toStdString();
    }
    EXPECT_EQ(menuLetters.removeDuplicates(), 0);
}

TEST_F(MainFrameTest, PaneTargetsAreWithdrawnWithTheFrame) {
    ShowAndLayOut();
    frame.reset();
    EXPECT_EQ(g_hListWnd.load(), nullptr);
    EXPECT_EQ(g_hGeneralStatusWnd.load(), nullptr);
    EXPECT_EQ(g_hTodayEnergyWnd.load(), nullptr);
    EXPECT_EQ(g_hPowerWnd.load(), nullptr);
}

TEST_F(MainFrameTest, APortThatCannotBeOpenedIsShownInTheStatusBarUntilItOpens) {
    auto* problems = frame->findChild<StationProblemLabel*>("StationProblems");
    ASSERT_NE(problems, nullptr);
    document->AddPortGroup(3, 0);
    CInverterGroup& group = *document->GetGroups().back();
    group.SwapPortProblem("No such file or directory");
    problems->Refresh();
    EXPECT_EQ(problems->text().toStdString(), PortRouteText(3) + ": No such file or directory");
    group.SwapPortProblem("");
    problems->Refresh();
    EXPECT_EQ(problems->text(), "");
}

} // namespace
