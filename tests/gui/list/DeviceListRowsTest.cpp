#include "CellToolTip.h"
#include "DeviceListFixture.h"
#include "comm/WindowMessages.h"
#include "model/ErrorState.h"
#include "model/NoTime.h"

#include <QHeaderView>
#include <QTest>
#include <algorithm>
#include <array>
#include <functional>

namespace {

using DeviceListRows = DeviceListFixture;
using Column = CDeviceListView::Column;
using std::chrono::seconds;

QStringList ShownHeadings(const CDeviceListView& view) {
    QStringList headings;
    const QHeaderView* header = view.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        headings << view.horizontalHeaderItem(header->logicalIndex(visual))->text();
    }
    return headings;
}

TEST_F(DeviceListRows, IdentityComesFirstThenTheStatusThenTheReadings) {
    EXPECT_EQ(ShownHeadings(*view), QStringList({"ComNo.", "Address", "Serno", "Status", "Model",
                                                 "Vpv1", "Vpv2", "Out Power", "Today", "Energy"}));
}

TEST_F(DeviceListRows, ColumnsFitTheirContentAndTheSerialStaysWhole) {
    CInverter* inverter = AddInverter(1, 1, "SIM0000000000000123");
    SetReadings(inverter, 3456, 2, 12345, 274673456);
    Register(inverter);
    for (int column = 0; column < Column::DEVICE_COLUMNS; ++column) {
        EXPECT_EQ(CellToolTip(*view, 0, column), "") << "cut: column " << column;
    }
    QHeaderView* header = view->horizontalHeader();
    header->resizeSection(Column::SERNO, 30);
    header->resizeSection(Column::MODEL, 300);
    clock.Advance(seconds(1));
    Deliver(WM_INVERTER_UPDATED, inverter);
    EXPECT_EQ(CellToolTip(*view, 0, Column::SERNO), "");
    EXPECT_EQ(view->columnWidth(Column::MODEL), 300) << "the operator's width stays";
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

TEST_F(DeviceListRows, AClickOnAHeadingSortsByItsValuesAndAgainTheOtherWay) {
    const int powers[] = {95, 1000, 12000}; // 9.5 W, 100 W, 1200 W
    for (int address = 1; address <= 3; ++address) {
        CInverter* inverter = AddInverter(1, address);
        SetReadings(inverter, 0, 0, powers[address - 1], 0);
        Register(inverter);
    }
    QHeaderView* header = view->horizontalHeader();
    const auto powerColumn = [this] {
        return QStringList(
            {Text(0, Column::OUT_POWER), Text(1, Column::OUT_POWER), Text(2, Column::OUT_POWER)});
    };
    const QPoint heading(header->sectionViewportPosition(Column::OUT_POWER) + 5,
                         header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, heading);
    const QStringList once = powerColumn();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, heading);
    const QStringList twice = powerColumn();
    std::array<QStringList, 2> orders = {once, twice};
    std::sort(orders.begin(), orders.end());
    EXPECT_EQ(orders[0], QStringList({"10 W", "100 W", "1200 W"}));
    EXPECT_EQ(orders[1], QStringList({"1200 W", "100 W", "10 W"}));
}

TEST_F(DeviceListRows, SecondRegistrationAddsNoRowAndNullIsIgnored) {
    CInverter* inverter = AddInverter(1, 1);
    Register(inverter);
    Register(inverter);
    Register(nullptr);
    EXPECT_EQ(view->rowCount(), 1);
    EXPECT_EQ(view->RecordAt(0), inverter);
}

TEST_F(DeviceListRows, OnlineRowShowsReadingsRoundedAsTheGaugeRoundsThem) {
    CInverter* inverter = AddInverter(3, 7, "A123456789");
    SetReadings(inverter, 3456, 2, 12346, 98765, 987);
    Register(inverter);
    const QStringList expected = {"Normal",  "Com3",  "7",      "A123456789", "PV-3000",
                                  "345.6 V", "0.2 V", "1235 W", "9.9 kWh",    "9876.5 kWh"};
    for (int column = 0; column < Column::DEVICE_COLUMNS; ++column) {
        EXPECT_EQ(Text(0, column), expected[column]);
        EXPECT_FALSE(IsItalic(0, column));
    }
    EXPECT_TRUE(IsGreen(MarkColour(0)));
}

// Every condition in words, marked by its own shape; readings that are not
// current are in italics, and an offline row has no readings, only energies.
TEST_F(DeviceListRows, TheStatusSaysWhatIsWrongAndSince) {
    CInverter* inverter = AddInverter(1, 2);
    Register(inverter);
    const auto fresh = [&] {
        SetReadings(inverter, 3456, 3000, 12345, 98765, 500);
        Group(1)->SwapPortProblem("");
        inverter->m_faultRecord = {};
    };
    struct Case {
        const char* status;
        bool italic;
        const char* power;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"Normal", false, "1234 W", [] {}},
        {"Fault: Ground current is too high since 11:47", false, "1234 W",
         [&] {
             inverter->m_nErrorState = ERROR_STATE_FAULT;
             inverter->m_dwErrorCode = 1U << 10;
             inverter->m_faultRecord.startTime = static_cast<std::int32_t>(clock.Now() - 990);
             inverter->m_faultRecord.endTime = static_cast<std::int32_t>(g_tNoTime);
         }},
        {"Stale, 12 s ago", true, "1234 W", [&] { clock.Advance(seconds(12)); }},
        {"COM1 lost, 0 s ago", true, "1234 W",
         [&] { Group(1)->SwapPortProblem("No such file or directory"); }},
        {"Offline since 12:03", true, "\u2014",
         [&] {
             inverter->m_bOnline = 0;
             inverter->m_tOffline = LocalTime(2027, 1, 15, 12, 3, 0);
         }},
        {"Removing", true, "1234 W", [&] { inverter->m_bRemoveRequest = 1; }},
    };
    for (const Case& test : cases) {
        fresh();
        test.arrange();
        Deliver(WM_INVERTER_UPDATED, inverter);
        EXPECT_EQ(Text(0, Column::STATUS).toStdString(), test.status);
        EXPECT_EQ(Text(0, Column::OUT_POWER), test.power) << test.status;
        EXPECT_EQ(IsItalic(0, Column::VPV1), test.italic) << test.status;
        EXPECT_EQ(Text(0, Column::TODAY), "5.0 kWh") << test.status;
        EXPECT_EQ(Text(0, Column::ENERGY), "9876.5 kWh") << test.status;
        inverter->m_bRemoveRequest = 0;
    }
    fresh();
    inverter->m_bOnline = 0;
    Deliver(WM_INVERTER_UPDATED, inverter);
    EXPECT_EQ(Text(0, Column::VPV1), "\u2014");
    EXPECT_EQ(Text(0, Column::VPV2), "\u2014");
    EXPECT_EQ(Text(0, Column::STATUS).toStdString(), "Offline since 12:03");
}

TEST_F(DeviceListRows, AReadingAgesInSightWithoutAnyMessage) {
    CInverter* inverter = AddInverter(1, 1);
    SetReadings(inverter, 0, 0, 0, 0);
    Register(inverter);
    clock.Advance(seconds(200));
    QTimer* ages = view->findChild<QTimer*>("AgeRefresh");
    ASSERT_NE(ages, nullptr);
    EXPECT_EQ(ages->interval(), CDeviceListView::AGE_REFRESH_MS);
    emit ages->timeout({});
    EXPECT_EQ(Text(0, Column::STATUS), "Stale, 3 min ago");
}

TEST_F(DeviceListRows, RecordWithoutRuntimeDataHasEmptyReadings) {
    Register(AddInverter(1, 2, "NODATA"));
    EXPECT_EQ(Text(0, Column::SERNO), "NODATA");
    EXPECT_EQ(Text(0, Column::STATUS), "Offline");
    for (int column = Column::VPV1; column < Column::DEVICE_COLUMNS; ++column) {
        EXPECT_EQ(Text(0, column), "");
    }
}

} // namespace
