#pragma once

#include "ParamRows.h"
#include "ParamWriteTiming.h"
#include "model/ParamSlots.h"

#include <QDialog>
#include <QTimer>
#include <array>
#include <cstdint>
#include <memory>

class CHeliowatchDoc;
class CInverter;
class DialogUnits;
class ParamWriteSequence;
class QLineEdit;

// Shows six grid-protection parameters of an inverter within their limits
// and, behind the password, writes the changed ones through the port's
// communication thread, reporting the outcome. It never closes itself.
class CParameterSettingDlg : public QDialog {
    Q_OBJECT

public:
    // Keeps a copy of the inverter's parameters; the record itself is only
    // reached through the document, since its thread may remove it.
    CParameterSettingDlg(CHeliowatchDoc& document, CInverter* inverter, QWidget* parent = nullptr);
    ~CParameterSettingDlg() override;

    // Without an inverter the dialog cancels itself before it is shown.
    int exec() override;
    // Ignored while a write sequence runs, like the window's close button.
    void reject() override;

    void SetTiming(const ParamWriteTiming& timing) { m_timing = timing; }

private:
    void AddHeadings(const DialogUnits& units);
    QLineEdit* AddRow(const DialogUnits& units, const ParamRow& row, int y);
    void AddButtons(const DialogUnits& units);
    bool OnInitDialog();
    void OnSet();
    void OnTimer();
    void FinishSetting();
    // Reads the edits into the parameter copy; false, after telling the
    // operator, at the first bad one.
    bool Validate();
    bool ReadRow(std::size_t index);
    // Equal values pass.
    bool CheckOrder(int upperSlot, int lowerSlot, const QString& message);
    void ShowWaitCursor(bool waiting);

    CHeliowatchDoc& m_document;
    CInverter* m_pInverter;
    ParamValues m_params{};
    std::array<QLineEdit*, PARAM_ROW_COUNT> m_edits{};
    ParamWriteTiming m_timing;
    std::unique_ptr<ParamWriteSequence> m_pSequence;
    QTimer m_timer;
    bool m_bSetting = false;
};
