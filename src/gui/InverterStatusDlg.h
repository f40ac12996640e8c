#pragma once

#include "OutcomeWatch.h"
#include "charts/DrawGraph.h"
#include "charts/Meter.h"
#include "store/ParamAudit.h"
#include "widgets/WidgetTarget.h"

#include <QDialog>
#include <QString>
#include <QTimer>
#include <optional>
#include <string>

class CHeliowatchDoc;
class CInverter;
class QLineEdit;

// Everything known about one inverter, refreshed every sampling interval and
// on every update its communication thread reports; also where its serial
// number is changed. While open it stands in the record's m_hStatusWnd, so
// the inverter list forwards the record's updates here.
class CInverterStatusDlg : public QDialog {
    Q_OBJECT

public:
    // The refresh timer carries this id as its object name.
    static constexpr int REFRESH_TIMER = 1;

    CInverterStatusDlg(CHeliowatchDoc& document, QWidget* parent = nullptr);
    ~CInverterStatusDlg() override;

    void SetInverter(CInverter* inverter);
    void SetOutcomeTiming(const OutcomeTiming& timing) { m_outcomeTiming = timing; }

    // Without an inverter, or once its record is gone, the dialog cancels
    // itself before it is shown.
    int exec() override;
    // However the dialog ends, the record stops naming it.
    void done(int result) override;

    QRect GetGraphRect() const;
    static QString ModeText(int mode);
    void Refresh();
    // Tells the operator what is wrong with the typed serial number.
    bool ValidateSerial();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool OnInitDialog();
    void InitMeter(int ratedPower);
    void OnRefreshTick();
    void OnSetSerial();
    void OnSerialTick();
    QString SerialProblem(const std::string& typed) const;
    std::string TypedSerial() const;
    void ReleaseStatusWnd();
    // The values written to the inverter, newest first.
    void ShowWrites();
    QLineEdit* Edit(int id) const;

    CHeliowatchDoc& m_document;
    CMeter m_meter;
    CInverter* m_pInverter = nullptr;
    bool m_bSerialPending = true;
    CDrawGraph m_graph;
    QTimer m_refreshTimer;
    WidgetTarget m_target;
    QWidget* m_pGraphFrame = nullptr;
    OutcomeTiming m_outcomeTiming;
    // While set, a serial-number change waits for the thread's report.
    std::optional<OutcomeWatch> m_serialWatch;
    ParamAuditEntry m_serialAudit;
    QTimer m_serialTimer;
};
