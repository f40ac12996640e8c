#pragma once

#include "widgets/WidgetTarget.h"

#include <QIcon>
#include <QStringList>
#include <QTableWidget>
#include <array>

class CHeliowatchDoc;
class CInverter;
class CInverterGroup;

// The inverter list pane: one row per registered inverter with its live
// values and a status disc. The communication threads post their inverter
// messages to Target(); the highlighted row is the inverter selected in the
// document.
class CDeviceListView : public QTableWidget {
    Q_OBJECT

public:
    enum Column { ICON, COM_NO, ADDRESS, SERNO, MODEL, VPV1, VPV2, OUT_POWER, ENERGY, COLUMNS };
    enum StatusImage { IMAGE_GREY, IMAGE_GREEN, IMAGE_RED };
    static constexpr int RECORD_ROLE = Qt::UserRole;

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

    CInverter* RecordAt(int row) const;
    int FindRow(const CInverter* inverter) const;

signals:
    void currentInverterChanged();
    void statusDialogRequested(CInverter* inverter);

protected:
    bool event(QEvent* event) override;

private:
    void OnWindowMessage(unsigned message, std::uintptr_t wParam);
    void ApplyListStyles();
    int IconColumnWidth() const;
    void ShowComNoFirst();
    int InsertRowInOrder(CInverter* inverter, int comPort, int address);
    void DeleteRowsOfPort(int comPort);
    bool IsDocumentGroup(const CInverterGroup* group) const;
    void OnHighlightChanged();
    void SetSelection(CInverter* inverter);
    void NotifyIfSelectionChanged(const CInverter* before);

    CHeliowatchDoc& m_document;
    WidgetTarget m_target{this};
    QStringList m_columnNames;
    std::array<QIcon, 3> m_statusImages;
};
