#include "CellToolTip.h"
#include "DeviceListFixture.h"
#include "comm/WindowMessages.h"

#include <QHeaderView>
#include <algorithm>
#include <array>

namespace {

using DeviceListRows = DeviceListFixture;
using Column = CDeviceListView::Column;

TEST_F(DeviceListRows, ColumnsShareTheWidthAndComNoComesFirst) {
    ASSERT_EQ(view->viewport()->width(), VIEW_WIDTH);
    const QStringList headings = {" ",    "ComNo.", "Address",   "Serno", "Model",
                                  "Vpv1", "Vpv2",   "Out Power", "Energy"};
    const std::array<int, 9> widths = {18, 99, 99, 101, 99, 99, 99, 99, 99};
    ASSERT_EQ(view->columnCount(), 9);
    for (int column = 0; column < 9; ++column) {
        EXPECT_EQ(view->horizontalHeaderItem(column)->text(), headings[column]);
        EXPECT_EQ(view->columnWidth(column), widths[column]) << column;
    }
    const QHeaderView* header = view->horizontalHeader();
    EXPECT_EQ(header->logicalIndex(0), Column::COM_NO);
    EXPECT_EQ(header->logicalIndex(1), Column::ICON);
    for (int column = Column::ADDRESS; column < Column::COLUMNS; ++column) {
        EXPECT_EQ(header->logicalIndex(column), column);
    }
}

TEST_F(DeviceListRows, ACutTextShowsInFullAsItsTooltipUntilTheColumnIsWidened) {
    const char* serial = "SIM0000000000000123";
    Register(AddInverter(1, 1, serial));
    EXPECT_EQ(CellToolTip(*view, 0, Column::SERNO).toStdString(), serial);
    EXPECT_EQ(CellToolTip(*view, 0, Column::COM_NO).toStdString(), "");
    QHeaderView* header = view->horizontalHeader();
    ASSERT_EQ(header->sectionResizeMode(Column::SERNO), QHeaderView::Interactive);
    header->resizeSection(Column::SERNO, 300);
    EXPECT_EQ(CellToolTip(*view, 0, Column::SERNO).toStdString(), "");
}

TEST_F(DeviceListRows, ListedByPortThenAddressWhateverTheRegistrationOrder) {
    std::array<CInverter*, 3> inverters = {AddInverter(1, 1), AddInverter(1, 5), AddInverter(3, 2)};
    std::sort(inverters.begin(), inverters.end());
    do {
        Deliver(WM_FILL_DEVICE_LIST, nullptr);
        for (CInverter* inverter : inverters) {
            Register(inverter);
        }
        ASSERT_EQ(view->rowCount(), 3);
        QStringList shown;
        for (int row = 0; row < 3; ++row) {
            shown << Text(row, Column::COM_NO) + "/" + Text(row, Column::ADDRESS);
        }
        EXPECT_EQ(shown, QStringList({"Com1/1", "Com1/5", "Com3/2"}));
    } while (std::next_permutation(inverters.begin(), inverters.end()));
}

TEST_F(DeviceListRows, SecondRegistrationAddsNoRowAndNullIsIgnored) {
    CInverter* inverter = AddInverter(1, 1);
    Register(inverter);
    Register(inverter);
    Register(nullptr);
    EXPECT_EQ(view->rowCount(), 1);
    EXPECT_EQ(view->RecordAt(0), inverter);
}

TEST_F(DeviceListRows, OnlineRowShowsReadingsWithPowerTruncated) {
    CInverter* inverter = AddInverter(3, 7, "A123456789");
    SetReadings(inverter, 3456, 2, 12345, 98765);
    Register(inverter);
    const QStringList expected = {"Com3",    "7",     "A123456789", "PV-3000",
                                  "345.6 V", "0.2 V", "1234 W",     "9876.5 kWh"};
    for (int column = Column::COM_NO; column < Column::COLUMNS; ++column) {
        EXPECT_EQ(Text(0, column), expected[column - 1]);
    }
    EXPECT_TRUE(Text(0, Column::ICON).isEmpty());
}

TEST_F(DeviceListRows, OfflineRowKeepsItsEnergyOnly) {
    CInverter* inverter = AddInverter(1, 2);
    SetReadings(inverter, 3456, 3000, 12345, 98765);
    inverter->m_nErrorState = 1;
    Register(inverter);
    inverter->m_bOnline = 0;
    Deliver(WM_INVERTER_UPDATED, inverter);
    EXPECT_EQ(Text(0, Column::VPV1), "0.0");
    EXPECT_EQ(Text(0, Column::VPV2), "0.0");
    EXPECT_EQ(Text(0, Column::OUT_POWER), "0");
    EXPECT_EQ(Text(0, Column::ENERGY), "9876.5 kWh");
    EXPECT_TRUE(IsGrey(DiscColour(0)));
}

TEST_F(DeviceListRows, RecordWithoutRuntimeDataHasEmptyReadings) {
    Register(AddInverter(1, 2, "NODATA"));
    EXPECT_EQ(Text(0, Column::SERNO), "NODATA");
    for (int column = Column::VPV1; column < Column::COLUMNS; ++column) {
        EXPECT_EQ(Text(0, column), "");
    }
}

TEST_F(DeviceListRows, DiscFollowsOnlineAndErrorState) {
    CInverter* inverter = AddInverter(1, 1);
    SetReadings(inverter, 0, 0, 0, 0);
    Register(inverter);
    struct Case {
        int errorState;
        bool (*expected)(const QColor&);
    };
    for (const Case& test :
         {Case{1, IsGreen}, Case{2, IsRed}, Case{0, IsGrey}, Case{3, IsGrey}, Case{1, IsGreen}}) {
        inverter->m_nErrorState = test.errorState;
        Deliver(WM_INVERTER_UPDATED, inverter);
        EXPECT_TRUE(test.expected(DiscColour(0))) << "error state " << test.errorState;
    }
}

TEST_F(DeviceListRows, DiscIsDrawnInTheIconColumnRightOfComNo) {
    CInverter* inverter = AddInverter(1, 1);
    SetReadings(inverter, 0, 0, 0, 0);
    inverter->m_nErrorState = 2;
    Register(inverter);
    const QImage shot = view->viewport()->grab().toImage();
    const QRect cell = view->visualItemRect(view->item(0, Column::ICON));
    EXPECT_EQ(cell.left(), 99);
    bool redSeen = false;
    for (int x = cell.left(); x <= cell.right(); ++x) {
        redSeen |= IsRed(shot.pixelColor(x, cell.center().y()));
    }
    EXPECT_TRUE(redSeen);
}

} // namespace
