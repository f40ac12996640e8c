#include "IdleEnvironment.h"
#include "Recorders.h"
#include "TempDirectory.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "gui/DeviceListView.h"
#include "gui/MainFrame.h"
#include "model/InverterGroup.h"
#include "model/SingleRuntimeData.h"
#include "platform/DataDirectory.h"
#include "platform/ExitEvent.h"
#include "store/HeliowatchDoc.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A part of a widget the operator can bring into sight: it lies inside the
// widget, or the widget scrolls far enough to show it.
void ExpectReachable(const QAbstractScrollArea& area, const QSize& content, const char* what) {
    const QSize seen = area.viewport()->size();
    EXPECT_GE(area.horizontalScrollBar()->maximum(), content.width() - seen.width()) << what;
    EXPECT_GE(area.verticalScrollBar()->maximum(), content.height() - seen.height()) << what;
}

// The window at a size an operator may give it, with one inverter whose
// figures are as wide as they come.
class WindowLayoutTest : public ::testing::TestWithParam<QSize> {
protected:
    void SetUp() override {
        g_viewsCreated = 0;
        SetDataDirectory(directory.Path());
        document = std::make_unique<CHeliowatchDoc>(IdleEnvironment(notifier),
                                                    directory.Path() + "/Heliowatch.ini");
        document->AddPortGroup(13, 0);
        frame = std::make_unique<CMainFrame>(*document);
        frame->CreateListPane();
        frame->resize(GetParam());
        frame->show();
        ASSERT_TRUE(QTest::qWaitFor([this] { return frame->PanesCreated(); }, 2000));
        QCoreApplication::processEvents();
        AddWideInverter();
    }
    void TearDown() override {
        frame.reset();
        document.reset();
        g_viewsCreated = 0;
        g_hExitEvent.Reset();
    }
    void AddWideInverter() {
        CInverterGroup& group = *document->GetGroups().front();
        auto record = group.CreateInverter(20);
        record->m_strSerialNo = "SIM0000000013020";
        record->m_strModel = "Skylark S3000";
        auto data = std::make_unique<SingleRuntimeData>();
        data->m_nVpv1 = 6553;
        data->m_nPac = 65535;
        data->m_nEToday = 65535;
        data->m_dwETotal = 274673;
        data->m_tSample = document->Now();
        record->m_pRuntimeData = std::move(data);
        record->m_bOnline = 1;
        group.m_bPortOpen = 1;
        CInverter* inverter = group.AppendInverter(std::move(record));
        frame->ListView()->Target()->Post(WM_INVERTER_REGISTERED,
                                          reinterpret_cast<std::uintptr_t>(inverter));
        QTest::qWait(20); // the row, then the columns fitted to it
    }

    TempDirectory directory;
    RecordingNotifier notifier;
    std::unique_ptr<CHeliowatchDoc> document;
    std::unique_ptr<CMainFrame> frame;
};

TEST_P(WindowLayoutTest, EveryPaneSitsInTheWindow) {
    const QRect client = frame->MdiArea()->viewport()->rect();
    for (const QMdiSubWindow* pane : frame->MdiArea()->subWindowList()) {
        EXPECT_TRUE(client.contains(pane->geometry())) << pane->windowTitle().toStdString();
    }
}

TEST_P(WindowLayoutTest, EveryHeadingAndEveryFigureOfTheListIsWholeOrScrollsIntoSight) {
    CDeviceListView* list = frame->ListView();
    ASSERT_EQ(list->rowCount(), 1);
    const QHeaderView* header = list->horizontalHeader();
    const QAbstractItemView& cells = *list;
    for (int column = 0; column < header->count(); ++column) {
        const std::string heading = list->horizontalHeaderItem(column)->text().toStdString();
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << heading;
        EXPECT_GE(header->sectionSize(column), cells.sizeHintForColumn(column)) << heading;
    }
    EXPECT_EQ(list->item(0, CDeviceListView::Column::ENERGY)->text(), "27467.3 kWh");
    ExpectReachable(*list, QSize(header->length(), list->viewport()->height()), "list");
}

TEST_P(WindowLayoutTest, TheGeneralStatusFormKeepsItsBoxesWholeAndScrollsToThem) {
    const auto* scroll = frame->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    const QWidget* form = scroll->widget();
    EXPECT_GE(form->width(), form->sizeHint().width());
    EXPECT_GE(form->height(), form->sizeHint().height());
    for (const QWidget* box : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(form->rect().contains(box->geometry())) << box->objectName().toStdString();
    }
    for (const QLabel* label : form->findChildren<QLabel*>()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    }
    ExpectReachable(*scroll, form->size(), "general status");
    if (GetParam().width() >= 1024) {
        EXPECT_GE(scroll->viewport()->width(), form->sizeHint().width()) << "fits unscrolled";
        EXPECT_GE(scroll->viewport()->height(), form->sizeHint().height()) << "fits unscrolled";
    }
}

INSTANTIATE_TEST_SUITE_P(
    OperatorSizes, WindowLayoutTest,
    ::testing::Values(QSize(1024, 700), QSize(1280, 720), QSize(683, 467)),
    [](const ::testing::TestParamInfo<QSize>& size) {
        return QString("%1x%2").arg(size.param.width()).arg(size.param.height()).toStdString();
    });

} // namespace
