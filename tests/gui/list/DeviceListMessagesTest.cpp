#include "DeviceListFixture.h"
#include "comm/WindowMessages.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <vector>

namespace {

using DeviceListMessages = DeviceListFixture;
using Column = CDeviceListView::Column;

TEST_F(DeviceListMessages, RefreshOfADestroyedRecordLeavesItsRowUntilRemoval) {
    CInverter* inverter = AddInverter(1, 4, "GONE");
    Register(inverter);
    Group(1)->RemoveInverter(inverter);
    Deliver(WM_INVERTER_UPDATED, inverter);
    EXPECT_EQ(Text(0, Column::SERNO), "GONE");
    Deliver(WM_INVERTER_REMOVED, inverter);
    EXPECT_EQ(view->rowCount(), 0);
}

TEST_F(DeviceListMessages, RemovingTheSelectedInverterClearsTheSelection) {
    CInverter* kept = AddInverter(1, 1);
    CInverter* removed = AddInverter(1, 2);
    Register(kept);
    Register(removed);
    QSignalSpy changes(view.get(), &CDeviceListView::currentInverterChanged);
    document->SetCurInverter(removed);
    Deliver(WM_INVERTER_REMOVED, nullptr);
    Deliver(WM_INVERTER_REMOVED, kept);
    EXPECT_EQ(document->GetCurInverter(), removed);
    EXPECT_EQ(changes.count(), 0);
    Deliver(WM_INVERTER_REMOVED, removed);
    EXPECT_EQ(document->GetCurInverter(), nullptr);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(view->rowCount(), 0);
}

TEST_F(DeviceListMessages, StoppedPortLosesItsRowsAndItsGroup) {
    document->AddPortGroup(13, 0);
    CInverter* selected = AddInverter(1, 1);
    for (CInverter* inverter :
         {selected, AddInverter(13, 1), AddInverter(1, 2), AddInverter(3, 1)}) {
        Register(inverter);
    }
    CInverterGroup* stopped = Group(1);
    document->SetCurInverter(selected);
    QSignalSpy changes(view.get(), &CDeviceListView::currentInverterChanged);
    Deliver(WM_PORT_STOPPED, stopped);
    ASSERT_EQ(view->rowCount(), 2);
    EXPECT_EQ(Text(0, Column::COM_NO), "Com3");
    EXPECT_EQ(Text(1, Column::COM_NO), "Com13");
    const auto groups = document->GetGroups();
    EXPECT_EQ(std::count(groups.begin(), groups.end(), stopped), 0);
    EXPECT_EQ(groups.size(), 2u);
    EXPECT_EQ(document->GetCurInverter(), nullptr);
    EXPECT_EQ(changes.count(), 1);
    Deliver(WM_PORT_STOPPED, stopped); // repeated: the group is gone, nothing happens
    Deliver(WM_PORT_STOPPED, nullptr);
    EXPECT_EQ(view->rowCount(), 2);
}

TEST_F(DeviceListMessages, RefreshIsForwardedToAnOpenStatusDialog) {
    RecordingTarget dialog;
    CInverter* inverter = AddInverter(3, 1);
    Register(inverter);
    Deliver(WM_INVERTER_UPDATED, inverter);
    inverter->m_hStatusWnd = &dialog;
    Deliver(WM_INVERTER_UPDATED, inverter);
    Deliver(WM_INVERTER_UPDATED, AddInverter(3, 2)); // no row: no refresh
    EXPECT_EQ(dialog.Count(WM_INVERTER_UPDATED, inverter), 1);
    EXPECT_EQ(dialog.Messages().size(), 1u);
    inverter->m_hStatusWnd = nullptr;
}

TEST_F(DeviceListMessages, TheHighlightedRowIsTheSelectionAndDoubleClickOrEnterOpensItsStatus) {
    CInverter* first = AddInverter(1, 1);
    CInverter* second = AddInverter(1, 2);
    Register(first);
    Register(second);
    QSignalSpy changes(view.get(), &CDeviceListView::currentInverterChanged);
    std::vector<CInverter*> dialogs;
    QObject::connect(view.get(), &CDeviceListView::statusDialogRequested,
                     [&dialogs](CInverter* inverter) { dialogs.push_back(inverter); });
    const auto centre = [this](int row) {
        return view->visualItemRect(view->item(row, Column::SERNO)).center();
    };
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(document->GetCurInverter(), second);
    QTest::mouseClick(view->viewport(), Qt::RightButton, {}, centre(0));
    EXPECT_EQ(document->GetCurInverter(), first);
    QTest::keyClick(view.get(), Qt::Key_Down);
    EXPECT_EQ(document->GetCurInverter(), second);
    EXPECT_EQ(view->selectedItems().front()->row(), 1);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, QPoint(50, 250)); // below the rows
    EXPECT_EQ(document->GetCurInverter(), nullptr);
    EXPECT_TRUE(view->selectedItems().isEmpty());
    EXPECT_EQ(changes.count(), 4);
    EXPECT_TRUE(dialogs.empty());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, centre(1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, centre(1));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, centre(1));
    EXPECT_EQ(document->GetCurInverter(), second);
    EXPECT_EQ(dialogs, std::vector<CInverter*>({second}));
    QTest::keyClick(view.get(), Qt::Key_Up);
    QTest::keyClick(view.get(), Qt::Key_Return);
    EXPECT_EQ(dialogs, std::vector<CInverter*>({second, first}));
}

TEST(DeviceListCaption, PaneFrameIsTitledInverterList) {
    CHeliowatchDoc document(CommEnvironment{}, "/nonexistent/Heliowatch.ini");
    QMdiArea area;
    auto* view = new CDeviceListView(document);
    QMdiSubWindow* frame = area.addSubWindow(view);
    view->OnInitialUpdate();
    EXPECT_EQ(frame->windowTitle(), "Inverter List");
}

} // namespace
