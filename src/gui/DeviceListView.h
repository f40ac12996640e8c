#pragma once

#include "DeviceRow.h"
#include "widgets/WidgetTarget.h"

#include <QTableWidget>
#include <QTimer>

class CHeliowatchDoc;
class CInverter;
class CInverterGroup;
class ColumnWidths;

// The inverter list pane: one row per registered inverter with its live
// values and its condition in words and by the shape of its mark. The
// communication threads post their inverter messages to Target(); the
// highlighted row is the inverter selected in the document. Readings that are
// not current are drawn dimmed in italics; a click on a heading sorts the
// list by that column.
class CDeviceListView : public QTableWidget {
    Q_OBJECT

public:
    using Column = DeviceColumn;
    static constexpr int RECORD_ROLE = Qt::UserRole;
    // Every row is read again this often, so that readings age visibly even
    // when no message comes.
    static constexpr int AGE_REFRESH_MS = 1000;

    explicit CDeviceListView(CHeliowatchDoc& document, QWidget* parent = nullptr);
    ~CDeviceListView() override;

    MessageTarget* Target() { return &m_target; }
    // Run once the view sits in its pane's frame.
    void OnInitialUpdate();

    // Null pointers are ignored by every handler.
    void OnFillDeviceList();
    void OnInverterRegistered(CInverter* inverter);
    void OnInverterUpdated(CInverter* inverter);
    void OnPortStopped(CInverterGroup* group);
    // Compares the pointer only: the record is destroyed by then.
    void OnInverterRemoved(const CInverter* inverter);
    // Reads every row again.
    void RefreshAll();
    // The order the list takes once its columns are built; a column out of
    // range keeps the port and address order.
    void SetSorting(int column, Qt::SortOrder order);

    CInverter* RecordAt(int row) const;
    int FindRow(const CInverter* inverter) const;
    ColumnWidths& Widths() const { return *m_widths; }

signals:
    void currentInverterChanged();
    void statusDialogRequested(CInverter* inverter);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnWindowMessage(unsigned message, std::uintptr_t wParam);
    void ApplyListStyles();
    void ShowComNoFirst();
    void ShowRecord(int row, CInverter* inverter);
    // True when a text got longer.
    bool ShowRow(int row, const DeviceRow& values);
    int AppendRow(CInverter* inverter, const DeviceRow& values);
    void Resort();
    void DeleteRowsOfPort(int comPort);
    bool IsDocumentGroup(const CInverterGroup* group) const;
    void OnHighlightChanged();
    void SetSelection(CInverter* inverter);
    void NotifyIfSelectionChanged(const CInverter* before);

    CHeliowatchDoc& m_document;
    WidgetTarget m_target{this};
    ColumnWidths* m_widths;
    QTimer m_ageTimer;
    QTimer m_fitTimer;
    int m_nSortColumn = COM_NO;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
