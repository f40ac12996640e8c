#pragma once

#include "charts/Meter.h"

#include <QTimer>
#include <QWidget>

class CHeliowatchDoc;
class QLabel;
class QLineEdit;

// The general status pane: the plant's energy of the day, lifetime energy and
// output power, the power also on a gauge whose scale follows it, and how
// many inverters report. It reads the plant totals once per sampling
// interval.
class CGeneralStatusView : public QWidget {
    Q_OBJECT

public:
    // The refresh timer carries this id as its object name.
    static constexpr int REFRESH_TIMER = 1;

    explicit CGeneralStatusView(CHeliowatchDoc& document, QWidget* parent = nullptr);

    // Run once the view sits in its pane's frame.
    void OnInitialUpdate();
    void OnTimer();

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;

private:
    void CreateForm();
    void ArmTimer(int seconds);

    CHeliowatchDoc& m_document;
    CMeter m_meter;
    QTimer m_refreshTimer;
    int m_nArmedInterval = 0;
    QLineEdit* m_pTodayEdit = nullptr;
    QLineEdit* m_pLifetimeEdit = nullptr;
    QLineEdit* m_pPowerEdit = nullptr;
    QLabel* m_pReporting = nullptr;
};
