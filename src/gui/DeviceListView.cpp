#include "DeviceListView.h"

#include "ColumnWidths.h"
#include "SortableItem.h"
#include "StatusIcons.h"
#include "comm/CommShared.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "store/HeliowatchDoc.h"
#include "widgets/FullTextToolTip.h"
#include "widgets/StationPalette.h"
#include "widgets/WindowMessageEvent.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <algorithm>
#include <optional>

namespace {
const QString CAPTION = QStringLiteral("Inverter List");
const QStringList HEADINGS = {"Status", "ComNo.", "Address",   "Serno", "Model",
                              "Vpv1",   "Vpv2",   "Out Power", "Today", "Energy"};
constexpr int PORT_ROLE = CDeviceListView::RECORD_ROLE + 1;
constexpr int ROW_KEY_SPAN = 1000; // above any bus address

// Empty when the record is no longer registered.
std::optional<DeviceRow> ReadRecord(const CHeliowatchDoc& document, const CInverter* inverter) {
    std::optional<DeviceRow> values;
    const std::time_t now = document.Now();
    const int interval = document.GetInterval();
    document.WithInverter(inverter, [&](CInverter& record, CInverterGroup& group) {
        values = ReadDeviceRow(record, group, now, interval);
    });
    return values;
}

// True when the text became longer, and so perhaps wider than its column.
bool ShowCell(QTableWidgetItem& cell, const QString& text, const QVariant& sortKey, bool current) {
    const bool longer = text.size() > cell.text().size();
    if (cell.text() != text) {
        cell.setText(text);
    }
    cell.setData(SortableItem::SORT_ROLE, sortKey);
    QFont font = cell.font();
    if (font.italic() == current) {
        font.setItalic(!current);
        cell.setFont(font);
    }
    cell.setData(Qt::ForegroundRole,
                 current ? QVariant() : QVariant(QBrush(StationPalette::DIM_TEXT)));
    return longer;
}
} // namespace

CDeviceListView::CDeviceListView(CHeliowatchDoc& document, QWidget* parent)
    : QTableWidget(parent), m_document(document), m_widths(new ColumnWidths(*this)),
      m_ageTimer(this) {
    setItemDelegate(new FullTextToolTip(this));
    connect(this, &QTableWidget::itemSelectionChanged, this, &CDeviceListView::OnHighlightChanged);
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        // The press before it has highlighted the row, and so selected it.
        if (CInverter* inverter = RecordAt(row)) {
            emit statusDialogRequested(inverter);
        }
    });
    m_ageTimer.setObjectName("AgeRefresh");
    connect(&m_ageTimer, &QTimer::timeout, this, &CDeviceListView::RefreshAll);
    // A port registering twenty inverters at once fits the columns once.
    m_fitTimer.setSingleShot(true);
    connect(&m_fitTimer, &QTimer::timeout, m_widths, &ColumnWidths::Fit);
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
    m_ageTimer.start(AGE_REFRESH_MS);
}

void CDeviceListView::ApplyListStyles() {
    setSelectionBehavior(SelectRows);
    // The commands act on one inverter, the one highlighted.
    setSelectionMode(SingleSelection);
    setShowGrid(true);
    setEditTriggers(NoEditTriggers);
    setWordWrap(false);
    // A wide Status column must not make the list jump a column at a time.
    setHorizontalScrollMode(ScrollPerPixel);
    // The pane's frame draws the border, so the whole width is client area.
    setFrameShape(QFrame::NoFrame);
    setIconSize(QSize(StatusIcons::LIST_SIZE, StatusIcons::LIST_SIZE));
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(
        std::max(StatusIcons::LIST_SIZE + 2, fontMetrics().height() + 4));
    QHeaderView* header = horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setStretchLastSection(false);
    connect(header, &QHeaderView::sortIndicatorChanged, this, &CDeviceListView::Resort,
            Qt::UniqueConnection);
    m_widths->KeepWhole(SERNO);
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
    setRowCount(0);
    setColumnCount(DEVICE_COLUMNS);
    setHorizontalHeaderLabels(HEADINGS);
    ShowComNoFirst();
    horizontalHeader()->setSortIndicator(m_nSortColumn, m_sortOrder);
    m_widths->Fit();
}

void CDeviceListView::SetSorting(int column, Qt::SortOrder order) {
    const bool known = column >= 0 && column < DEVICE_COLUMNS;
    m_nSortColumn = known ? column : COM_NO;
    m_sortOrder = known ? order : Qt::AscendingOrder;
}

// The inverter's identity first, then what is wrong with it, then its readings.
void CDeviceListView::ShowComNoFirst() {
    QHeaderView* header = horizontalHeader();
    header->moveSection(header->visualIndex(STATUS), header->visualIndex(SERNO));
}

void CDeviceListView::OnInverterRegistered(CInverter* inverter) {
    // Rows made before the columns would be deleted by the column build anyway.
    if (inverter == nullptr || columnCount() == 0 || FindRow(inverter) >= 0) {
        return;
    }
    if (const auto values = ReadRecord(m_document, inverter)) {
        ShowRow(AppendRow(inverter, *values), *values);
        Resort();
        m_fitTimer.start(0);
    }
}

int CDeviceListView::AppendRow(CInverter* inverter, const DeviceRow& values) {
    const int row = rowCount();
    insertRow(row);
    for (int column = 0; column < DEVICE_COLUMNS; ++column) {
        auto* cell = new SortableItem();
        cell->setData(SortableItem::TIE_ROLE, values.comPort * ROW_KEY_SPAN + values.address);
        setItem(row, column, cell);
    }
    item(row, STATUS)
        ->setData(RECORD_ROLE, QVariant::fromValue(reinterpret_cast<quintptr>(inverter)));
    item(row, STATUS)->setData(PORT_ROLE, values.comPort);
    return row;
}

void CDeviceListView::OnInverterUpdated(CInverter* inverter) {
    const int row = inverter != nullptr ? FindRow(inverter) : -1;
    if (row >= 0) {
        ShowRecord(row, inverter);
        Resort();
    }
}

// Measuring every cell is dear on a full plant: columns are measured again
// only when a text got longer.
void CDeviceListView::RefreshAll() {
    bool longer = false;
    for (int row = 0; row < rowCount(); ++row) {
        if (const auto values = ReadRecord(m_document, RecordAt(row))) {
            longer |= ShowRow(row, *values);
        }
    }
    Resort();
    if (longer) {
        m_widths->Grow();
    }
}

// Lets an open status dialog refresh too. A record already gone keeps its
// row until its removal message comes.
void CDeviceListView::ShowRecord(int row, CInverter* inverter) {
    const auto values = ReadRecord(m_document, inverter);
    if (!values) {
        return;
    }
    if (ShowRow(row, *values)) {
        m_widths->Grow();
    }
    if (values->statusWnd != nullptr) {
        values->statusWnd->Post(WM_INVERTER_UPDATED, reinterpret_cast<std::uintptr_t>(inverter));
    }
}

bool CDeviceListView::ShowRow(int row, const DeviceRow& values) {
    bool longer = false;
    for (int column = 0; column < DEVICE_COLUMNS; ++column) {
        longer |= ShowCell(*item(row, column), values.texts[column], values.sortKeys[column],
                           values.current);
    }
    item(row, STATUS)->setIcon(StatusIcons::Icon(values.condition.kind));
    return longer;
}

void CDeviceListView::Resort() {
    const QHeaderView* header = horizontalHeader();
    sortItems(header->sortIndicatorSection(), header->sortIndicatorOrder());
}

void CDeviceListView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && RecordAt(currentRow()) != nullptr) {
        emit statusDialogRequested(RecordAt(currentRow()));
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void CDeviceListView::OnPortStopped(CInverterGroup* group) {
    if (group == nullptr || !IsDocumentGroup(group)) {
        return;
    }
    DeleteRowsOfPort(group->m_nComPort);
    const CInverter* selected = m_document.GetCurInverter();
    m_document.RemovePortGroup(group);
    NotifyIfSelectionChanged(selected);
    m_fitTimer.start(0);
}

// A second stop message for the same group must not touch the freed group.
bool CDeviceListView::IsDocumentGroup(const CInverterGroup* group) const {
    const auto groups = m_document.GetGroups();
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

void CDeviceListView::DeleteRowsOfPort(int comPort) {
    for (int row = rowCount() - 1; row >= 0; --row) {
        const QTableWidgetItem* status = item(row, STATUS);
        if (status != nullptr && status->data(PORT_ROLE).toInt() == comPort) {
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
    m_fitTimer.start(0);
}

CInverter* CDeviceListView::RecordAt(int row) const {
    const QTableWidgetItem* status = item(row, STATUS);
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
