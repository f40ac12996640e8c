#include "ParameterSettingDlg.h"

#include "InverterIdentity.h"
#include "ParamInput.h"
#include "ParamWriteSequence.h"
#include "PasswordDlg.h"
#include "model/Inverter.h"
#include "res/ResourceIds.h"
#include "store/CommandOutcomeText.h"
#include "store/HeliowatchDoc.h"
#include "store/ParamAudit.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"
#include "widgets/MessageBox.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int FIRST_ROW_Y = 24;
constexpr int ROW_STEP = 25;
constexpr int ROW_HEIGHT = 19;
constexpr int DEFAULT_X = 168;
constexpr int MIN_X = 230;
constexpr int MAX_X = 288;
constexpr int DESCRIPTION_X = 346;
constexpr int VPV_HIGH_STOP_SLOT = 2;
constexpr int VPV_LOW_STOP_SLOT = 3;

QLabel* AddText(QDialog* dialog, const DialogUnits& units, const QString& text, QRect rect) {
    auto* label = new QLabel(text, dialog);
    label->setGeometry(units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
    return label;
}

void AddCell(QDialog* dialog, const DialogUnits& units, int id, const QString& text, QRect rect) {
    AddText(dialog, units, text, rect)->setObjectName(QString::number(id));
}

QString LimitText(double value, const ParamRow& row) {
    return row.cellDecimals == 0 ? QString::number(static_cast<int>(value))
                                 : QString::number(value, 'f', row.cellDecimals);
}

int SlotOf(ParamRowIndex row) {
    return ParamRows()[row].slot;
}

QString DecimalsAllowed(const ParamRow& row) {
    if (row.decimals == 0) {
        return "whole numbers";
    }
    return QString("at most %1 decimal%2").arg(row.decimals).arg(row.decimals == 1 ? "" : "s");
}

QString RangeText(const ParamRow& row) {
    return QString("%1 to %2 %3")
        .arg(QString::number(row.minValue, 'f', row.decimals),
             QString::number(row.maxValue, 'f', row.decimals), row.unit);
}
} // namespace

CParameterSettingDlg::CParameterSettingDlg(CHeliowatchDoc& document, CInverter* inverter,
                                           QWidget* parent)
    : QDialog(parent), m_document(document), m_pInverter(inverter) {
    QString identity;
    const bool present =
        m_document.WithInverter(inverter, [&](CInverter& record, CInverterGroup& group) {
            m_params = record.m_params;
            identity = InverterIdentity(record, group);
        });
    if (!present) {
        m_pInverter = nullptr;
    }
    const DialogUnits units =
        SetUpDialog(*this, IDD_PARAMETER_SETTING, "Parameter setting", 502, 209);
    if (present) {
        setWindowTitle("Parameter setting \u2014 " + identity);
    }
    AddHeadings(units);
    for (std::size_t index = 0; index < PARAM_ROW_COUNT; ++index) {
        m_edits[index] =
            AddRow(units, ParamRows()[index], FIRST_ROW_Y + ROW_STEP * static_cast<int>(index));
    }
    AddButtons(units);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CParameterSettingDlg::OnTimer);
}

CParameterSettingDlg::~CParameterSettingDlg() = default;

void CParameterSettingDlg::AddHeadings(const DialogUnits& units) {
    AddText(this, units, "Default", QRect(DEFAULT_X, 7, 55, 10));
    AddText(this, units, "Min", QRect(MIN_X, 7, 50, 10));
    AddText(this, units, "Max", QRect(MAX_X, 7, 50, 10));
    AddText(this, units, "Description", QRect(DESCRIPTION_X, 7, 149, 10));
}

QLineEdit* CParameterSettingDlg::AddRow(const DialogUnits& units, const ParamRow& row, int y) {
    AddText(this, units, row.label, QRect(7, y, 60, ROW_HEIGHT));
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::number(row.editId));
    edit->setGeometry(units.Rect(72, y, 60, ROW_HEIGHT));
    AddText(this, units, row.unit, QRect(133, y, 30, ROW_HEIGHT));
    AddCell(this, units, row.defaultCellId, LimitText(row.defaultValue, row),
            QRect(DEFAULT_X, y, 55, ROW_HEIGHT));
    AddCell(this, units, row.minCellId, LimitText(row.minValue, row),
            QRect(MIN_X, y, 50, ROW_HEIGHT));
    AddCell(this, units, row.maxCellId, LimitText(row.maxValue, row),
            QRect(MAX_X, y, 50, ROW_HEIGHT));
    AddText(this, units, row.description, QRect(DESCRIPTION_X, y, 149, ROW_HEIGHT));
    return edit;
}

void CParameterSettingDlg::AddButtons(const DialogUnits& units) {
    QPushButton* set = AddPushButton(this, units, "Set", IDOK, QPoint(141, 184));
    set->setDefault(true);
    QPushButton* cancel = AddPushButton(this, units, "Cancel", IDCANCEL, QPoint(299, 184));
    connect(set, &QPushButton::clicked, this, &CParameterSettingDlg::OnSet);
    connect(cancel, &QPushButton::clicked, this, &CParameterSettingDlg::reject);
}

int CParameterSettingDlg::exec() {
    if (!OnInitDialog()) {
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

void CParameterSettingDlg::reject() {
    if (!m_bSetting) {
        QDialog::reject();
    }
}

bool CParameterSettingDlg::OnInitDialog() {
    ParamValues current{};
    const bool present = m_document.WithInverter(
        m_pInverter, [&](CInverter& record, CInverterGroup&) { current = record.m_params; });
    if (!present) {
        return false;
    }
    for (std::size_t index = 0; index < PARAM_ROW_COUNT; ++index) {
        const ParamRow& row = ParamRows()[index];
        m_edits[index]->setText(QString::number(current[row.slot] * row.scale, 'f', row.decimals));
    }
    return true;
}

void CParameterSettingDlg::OnSet() {
    if (m_bSetting) {
        return;
    }
    // Nothing is asked of the operator for values that would be refused.
    if (!Validate()) {
        return;
    }
    CPasswordDlg password(this);
    if (password.exec() != Accepted) {
        return;
    }
    m_bSetting = true;
    ShowWaitCursor(true);
    m_pSequence = std::make_unique<ParamWriteSequence>(m_document, m_pInverter, m_params, m_timing);
    m_timer.start(m_timing.firstTick);
}

void CParameterSettingDlg::OnTimer() {
    const auto pause = m_pSequence->Advance();
    if (m_pSequence->Running()) {
        m_timer.start(pause);
    } else {
        FinishSetting();
    }
}

void CParameterSettingDlg::FinishSetting() {
    const int failedRow = m_pSequence->FailedRow();
    QString message = failedRow < 0 ? QString("Set OK")
                                    : QString("Set %1 fail: %2")
                                          .arg(ParamRows()[failedRow].label,
                                               CommandOutcomeText(m_pSequence->FailedOutcome()));
    if (const std::string& problem = m_pSequence->AuditProblem(); !problem.empty()) {
        message +=
            QString("\n\nNot recorded in %1: %2")
                .arg(QString::fromStdString(ParamAuditPath()), QString::fromStdString(problem));
    }
    m_pSequence.reset();
    m_bSetting = false;
    ShowWaitCursor(false);
    MessageBox::Show(this, message, "");
}

bool CParameterSettingDlg::Validate() {
    return ReadRow(ROW_VPV_START) && ReadRow(ROW_T_START) &&
           CheckOrder(VPV_HIGH_STOP_SLOT, VPV_LOW_STOP_SLOT, "Vpv-High-Stop must > Vpv-Low-Stop") &&
           ReadRow(ROW_VAC_MIN) && ReadRow(ROW_VAC_MAX) &&
           CheckOrder(SlotOf(ROW_VAC_MAX), SlotOf(ROW_VAC_MIN), "Vac-Max must > Vac-Min") &&
           ReadRow(ROW_FAC_MIN) && ReadRow(ROW_FAC_MAX) &&
           CheckOrder(SlotOf(ROW_FAC_MAX), SlotOf(ROW_FAC_MIN), "Fac-Max must > Fac-Min");
}

bool CParameterSettingDlg::ReadRow(std::size_t index) {
    const ParamRow& row = ParamRows()[index];
    QLineEdit* edit = m_edits[index];
    std::uint16_t raw = 0;
    switch (ReadParamInput(edit->text().toStdString(), row, &raw)) {
    case ParamInput::Accepted: m_params[row.slot] = raw; return true;
    case ParamInput::TooManyPoints:
        MessageBox::Show(
            this, QString("Please check input: %1 takes %2").arg(row.label, DecimalsAllowed(row)),
            "");
        break;
    case ParamInput::OutOfRange:
        MessageBox::Show(
            this,
            QString("Input data not in range: %1 must be from %2").arg(row.label, RangeText(row)),
            "");
        break;
    }
    edit->setFocus();
    return false;
}

bool CParameterSettingDlg::CheckOrder(int upperSlot, int lowerSlot, const QString& message) {
    if (m_params[upperSlot] < m_params[lowerSlot]) {
        MessageBox::Show(this, message, "");
        return false;
    }
    return true;
}

// Edits show their own text cursor; the wait cursor covers them too.
void CParameterSettingDlg::ShowWaitCursor(bool waiting) {
    if (waiting) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
    for (QLineEdit* edit : m_edits) {
        edit->setCursor(waiting ? Qt::WaitCursor : Qt::IBeamCursor);
    }
}
