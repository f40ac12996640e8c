#include "DeviceListView.h"

#include "PortList.h"
#include "StatusIcons.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "res/ResourceIds.h"
#include "store/BusText.h"
#include "store/HeliowatchDoc.h"
#include "widgets/FullTextToolTip.h"
#include "widgets/WindowMessageEvent.h"

#include <QHeaderView>
#include <QMdiSubWindow>
#include <algorithm>
#include <optional>
#include <utility>

namespace {
const QString CAPTION = QStringLiteral("Inverter List");
constexpr int SHARED_COLUMNS = 8;
constexpr int ICON_COLUMN_MARGIN = 2;
constexpr int PORT_ROLE = CDeviceListView::RECORD_ROLE + 1;
constexpr int ADDRESS_ROLE = CDeviceListView::RECORD_ROLE + 2;

using RowKey = std::pair<int, int>; // COM port, then bus address
using StatusImages = std::array<QIcon, 3>;

// What a row shows, read from its record in one go under the group lock.
struct RowValues {
    RowKey key;
    std::array<QString, CDeviceListView::COLUMNS> texts;
    int image = CDeviceListView::IMAGE_GREY;
    MessageTarget* statusWnd = nullptr;
};

void ReadMeasurements(const CInverter& inverter, RowValues& row) {
    const RuntimeData* data = inverter.m_pRuntimeData.get();
    if (data == nullptr) {
        return;
    }
    if (inverter.m_bOnline == 1) {
        row.texts[CDeviceListView::VPV1] = QString::asprintf("%0.1f V", data->GetVpv1());
        row.texts[CDeviceListView::VPV2] = QString::asprintf("%0.1f V", data->GetVpv2());
        row.texts[CDeviceListView::OUT_POWER] =
            QString::asprintf("%d W", static_cast<int>(data->GetOutputPower()));
    } else {
        row.texts[CDeviceListView::VPV1] = QStringLiteral("0.0");
        row.texts[CDeviceListView::VPV2] = QStringLiteral("0.0");
        row.texts[CDeviceListView::OUT_POWER] = QStringLiteral("0");
    }
    row.texts[CDeviceListView::ENERGY] = QString::asprintf("%0.1f kWh", data->GetETotal());
}

int StatusImageOf(const CInverter& inverter) {
    if (inverter.m_bOnline != 1) {
        return CDeviceListView::IMAGE_GREY;
    }
    switch (inverter.m_nErrorState.load()) {
    case 1: return CDeviceListView::IMAGE_GREEN;
    case 2: return CDeviceListView::IMAGE_RED;
    default: return CDeviceListView::IMAGE_GREY;
    }
}

RowValues ReadRow(const CInverter& inverter, const CInverterGroup& group) {
    RowValues row;
    row.key = {group.m_nComPort, inverter.m_nAddress};
    row.texts[CDeviceListView::COM_NO] = PortText(group.m_nComPort);
    row.texts[CDeviceListView::ADDRESS] = QString::number(inverter.m_nAddress);
    row.texts[CDeviceListView::SERNO] = BusText(inverter.m_strSerialNo);
    row.texts[CDeviceListView::MODEL] = BusText(inverter.m_strModel);
    ReadMeasurements(inverter, row);
    row.image = StatusImageOf(inverter);
    row.statusWnd = inverter.m_hStatusWnd.load();
    return row;
}

// Empty when the record is no longer registered.
std::optional<RowValues> ReadRecord(const CHeliowatchDoc& document, const CInverter* inverter) {
    std::optional<RowValues> values;
    document.WithInverter(inverter, [&values](CInverter& record, CInverterGroup& group) {
        values = ReadRow(record, group);
    });
    return values;
}

// Shows the values in the row and lets an open status dialog refresh too.
void ShowRow(QTableWidget& list, int row, const RowValues& values, const StatusImages& images,
             const CInverter* inverter) {
    for (int column = CDeviceListView::COM_NO; column < CDeviceListView::COLUMNS; ++column) {
        list.item(row, column)->setText(values.texts[column]);
    }
    list.item(row, CDeviceListView::ICON)->setIcon(images[values.image]);
    if (values.statusWnd != nullptr) {
        values.statusWnd->Post(WM_INVERTER_UPDATED, reinterpret_cast<std::uintptr_t>(inverter));
    }
}

RowKey KeyOfRow(const QTableWidget& list, int row) {
    const QTableWidgetItem* status = list.item(row, CDeviceListView::ICON);
    return {status->data(PORT_ROLE).toInt(), status->data(ADDRESS_ROLE).toInt()};
}

} // namespace

CDeviceListView::CDeviceListView(CHeliowatchDoc& document, QWidget* parent)
    : QTableWidget(parent), m_document(document) {
    setItemDelegate(new FullTextToolTip(this));
    connect(this, &QTableWidget::itemSelectionChanged, this, &CDeviceListView::OnHighlightChanged);
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        // The press before it has highlighted the row, and so selected it.
        if (CInverter* inverter = RecordAt(row)) {
            emit statusDialogRequested(inverter);
        }
    });
}

CDeviceListView::~CDeviceListView() {
    m_target.Detach();
    MessageTarget* ours = &m_target;
    g_hListWnd.compare_exchange_strong(ours, nullptr);
}

void CDeviceListView::OnInitialUpdate() {
    setWindowTitle(CAPTION);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->setWindowTitle(CAPTION);
    }
    ApplyListStyles();
    m_statusImages = {StatusIcons::Icon(IDI_STATUS_GREY), StatusIcons::Icon(IDI_STATUS_GREEN),
                      StatusIcons::Icon(IDI_STATUS_RED)};
}

void CDeviceListView::ApplyListStyles() {
    setSelectionBehavior(SelectRows);
    // The commands act on one inverter, the one highlighted.
    setSelectionMode(SingleSelection);
    setShowGrid(true);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    // The pane's frame draws the border, so the whole width is client area.
    setFrameShape(QFrame::NoFrame);
    setIconSize(QSize(StatusIcons::LIST_SIZE, StatusIcons::LIST_SIZE));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(
        std::max(StatusIcons::LIST_SIZE + 2, fontMetrics().height() + 4));
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    // The icon column is narrower than a heading's usual minimum.
    horizontalHeader()->setMinimumSectionSize(0);
}

bool CDeviceListView::event(QEvent* event) {
    if (event->type() == WindowMessageEvent::EventType()) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        OnWindowMessage(message->Message(), message->WParam());
        return true;
    }
    return QTableWidget::event(event);
}

void CDeviceListView::OnWindowMessage(unsigned message, std::uintptr_t wParam) {
    switch (message) {
    case WM_FILL_DEVICE_LIST: OnFillDeviceList(); break;
    case WM_INVERTER_REGISTERED: OnInverterRegistered(reinterpret_cast<CInverter*>(wParam)); break;
    case WM_INVERTER_UPDATED: OnInverterUpdated(reinterpret_cast<CInverter*>(wParam)); break;
    case WM_PORT_STOPPED: OnPortStopped(reinterpret_cast<CInverterGroup*>(wParam)); break;
    case WM_INVERTER_REMOVED: OnInverterRemoved(reinterpret_cast<CInverter*>(wParam)); break;
    default: break;
    }
}

void CDeviceListView::OnFillDeviceList() {
    m_columnNames = {" ",    "ComNo.", "Address",   "Serno", "Model",
                     "Vpv1", "Vpv2",   "Out Power", "Energy"};
    const int clientWidth = viewport()->width();
    setRowCount(0);
    const int iconWidth = IconColumnWidth();
    const int shared = clientWidth - iconWidth;
    setColumnCount(COLUMNS);
    setHorizontalHeaderLabels(m_columnNames);
    setColumnWidth(ICON, iconWidth);
    for (int column = COM_NO; column < COLUMNS; ++column) {
        const int remainder = column == SERNO ? shared % SHARED_COLUMNS : 0;
        setColumnWidth(column, shared / SHARED_COLUMNS + remainder);
    }
    ShowComNoFirst();
}

// As wide as the hot spot of a standard-size status icon, plus a margin.
int CDeviceListView::IconColumnWidth() const {
    return StatusIcons::HotSpotX() + ICON_COLUMN_MARGIN;
}

void CDeviceListView::ShowComNoFirst() {
    horizontalHeader()->moveSection(horizontalHeader()->visualIndex(COM_NO), 0);
}

void CDeviceListView::OnInverterRegistered(CInverter* inverter) {
    // Rows made before the columns would be deleted by the column build anyway.
    if (inverter == nullptr || columnCount() == 0 || FindRow(inverter) >= 0) {
        return;
    }
    if (const auto values = ReadRecord(m_document, inverter)) {
        const int row = InsertRowInOrder(inverter, values->key.first, values->key.second);
        ShowRow(*this, row, *values, m_statusImages, inverter);
    }
}

// The list is always in row order, so the new row goes before the first one
// that sorts after it: where a stable sort after appending would put it.
int CDeviceListView::InsertRowInOrder(CInverter* inverter, int comPort, int address) {
    const RowKey key{comPort, address};
    int row = rowCount();
    while (row > 0 && key < KeyOfRow(*this, row - 1)) {
        --row;
    }
    insertRow(row);
    auto* status = new QTableWidgetItem(m_statusImages[IMAGE_GREY], QString());
    status->setData(RECORD_ROLE, QVariant::fromValue(reinterpret_cast<quintptr>(inverter)));
    status->setData(PORT_ROLE, comPort);
    status->setData(ADDRESS_ROLE, address);
    setItem(row, ICON, status);
    for (int column = COM_NO; column < COLUMNS; ++column) {
        setItem(row, column, new QTableWidgetItem());
    }
    return row;
}

void CDeviceListView::OnInverterUpdated(CInverter* inverter) {
    const int row = inverter != nullptr ? FindRow(inverter) : -1;
    if (row < 0) {
        return;
    }
    // A record already gone keeps its row until its removal message comes.
    if (const auto values = ReadRecord(m_document, inverter)) {
        ShowRow(*this, row, *values, m_statusImages, inverter);
    }
}

void CDeviceListView::OnPortStopped(CInverterGroup* group) {
    if (group == nullptr || !IsDocumentGroup(group)) {
        return;
    }
    DeleteRowsOfPort(group->m_nComPort);
    const CInverter* selected = m_document.GetCurInverter();
    m_document.RemovePortGroup(group);
    NotifyIfSelectionChanged(selected);
}

// A second stop message for the same group must not touch the freed group.
bool CDeviceListView::IsDocumentGroup(const CInverterGroup* group) const {
    const auto groups = m_document.GetGroups();
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

void CDeviceListView::DeleteRowsOfPort(int comPort) {
    for (int row = rowCount() - 1; row >= 0; --row) {
        const QTableWidgetItem* port = item(row, COM_NO);
        if (port != nullptr && PortNumberOfText(port->text()) == comPort) {
            removeRow(row);
        }
    }
}

void CDeviceListView::OnInverterRemoved(const CInverter* inverter) {
    const int row = inverter != nullptr ? FindRow(inverter) : -1;
    if (row < 0) {
        return;
    }
    removeRow(row);
    if (m_document.GetCurInverter() == inverter) {
        SetSelection(nullptr);
    }
}

CInverter* CDeviceListView::RecordAt(int row) const {
    const QTableWidgetItem* status = item(row, ICON);
    return status != nullptr
               ? reinterpret_cast<CInverter*>(status->data(RECORD_ROLE).value<quintptr>())
               : nullptr;
}

int CDeviceListView::FindRow(const CInverter* inverter) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (RecordAt(row) == inverter) {
            return row;
        }
    }
    return -1;
}

// Mouse, keyboard or a removed row: the document's selection is always the
// highlighted row, or none.
void CDeviceListView::OnHighlightChanged() {
    const QList<QTableWidgetItem*> highlighted = selectedItems();
    SetSelection(highlighted.isEmpty() ? nullptr : RecordAt(highlighted.front()->row()));
}

void CDeviceListView::SetSelection(CInverter* inverter) {
    const CInverter* before = m_document.GetCurInverter();
    m_document.SetCurInverter(inverter);
    NotifyIfSelectionChanged(before);
}

void CDeviceListView::NotifyIfSelectionChanged(const CInverter* before) {
    if (m_document.GetCurInverter() != before) {
        emit currentInverterChanged();
    }
}
