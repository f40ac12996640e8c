#include "InverterStatusDlg.h"

#include "DeviceRow.h"
#include "InverterStatusForm.h"
#include "PasswordDlg.h"
#include "charts/NiceScale.h"
#include "comm/CommShared.h"
#include "comm/InverterCommands.h"
#include "comm/WindowMessages.h"
#include "model/InverterGroup.h"
#include "model/SerialNumber.h"
#include "model/SingleRuntimeData.h"
#include "model/ThreeRuntimeData.h"
#include "platform/Log.h"
#include "platform/TimeText.h"
#include "res/ResourceIds.h"
#include "store/BusText.h"
#include "store/CommandOutcomeText.h"
#include "store/FaultText.h"
#include "store/HeliowatchDoc.h"
#include "store/ParamAudit.h"
#include "widgets/MessageBox.h"
#include "widgets/StationPalette.h"
#include "widgets/WindowMessageEvent.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>
#include <optional>
#include <vector>

namespace {
const QColor BACKGROUND(236, 236, 216);

struct FieldText {
    int id;
    QString text;
};

// What a refresh shows, read from the record in one go under its group's lock.
struct StatusValues {
    std::vector<FieldText> fields;
    std::optional<double> gaugeValue;
    QString portNote; // the port's rejected replies, by rule
};

QString RejectNote(const CInverterGroup& group) {
    QStringList counts;
    for (const auto& [check, count] : group.m_rejects.NonZero()) {
        counts << QString("%1 %2").arg(ReplyCheckText(check)).arg(count);
    }
    return QString("Com%1 replies rejected: %2")
        .arg(group.m_nComPort)
        .arg(counts.isEmpty() ? QStringLiteral("none") : counts.join(", "));
}

struct WorkState {
    int temperature = 0; // 0.1 degree Celsius
    int mode = 0;
};

template <class Data>
bool ReadWorkStateAs(const RuntimeData& data, WorkState& state) {
    const auto* record = dynamic_cast<const Data*>(&data);
    if (record != nullptr) {
        state = {record->m_nTemp, record->m_nMode};
    }
    return record != nullptr;
}

WorkState ReadWorkState(const RuntimeData& data) {
    WorkState state;
    if (!ReadWorkStateAs<SingleRuntimeData>(data, state)) {
        ReadWorkStateAs<ThreeRuntimeData>(data, state);
    }
    return state;
}

// An offline inverter shows no live readings; its energies, fault text and
// day maximum keep their last values.
void ReadMeasurements(const CInverter& inverter, const RuntimeData& data, StatusValues& values) {
    const bool online = inverter.m_bOnline == 1;
    const WorkState state = ReadWorkState(data);
    const auto number = [](double value) { return QString::asprintf("%0.1f", value); };
    const auto whole = [](double value) { return QString::number(WholeFigure(value)); };
    values.fields.insert(values.fields.end(),
                         {
                             {IDC_STATUS_TEMPERATURE, number(state.temperature / 10.0)},
                             {IDC_STATUS_VPV1, online ? number(data.GetVpv1()) : NO_VALUE},
                             {IDC_STATUS_VPV2, online ? number(data.GetVpv2()) : NO_VALUE},
                             {IDC_STATUS_MODE, online ? CInverterStatusDlg::ModeText(state.mode)
                                                      : QStringLiteral("Disconnected")},
                             {IDC_STATUS_FAULT, BusText(FaultText(inverter.m_dwErrorCode))},
                             {IDC_STATUS_ETODAY, number(data.GetEToday())},
                             {IDC_STATUS_ETOTAL, number(data.GetETotal())},
                             {IDC_STATUS_POWER, online ? whole(data.GetOutputPower()) : NO_VALUE},
                             {IDC_STATUS_MAX_POWER, whole(inverter.m_powerGraph.GetMaxValue())},
                             {IDC_STATUS_RADIATION, QString::number(inverter.m_nRadiation)},
                             {IDC_STATUS_WIND_SPEED, QString::number(inverter.m_nWindSpeed)},
                             {IDC_STATUS_ENV_TEMP, QString::number(inverter.m_nEnvTemp)},
                             {IDC_STATUS_MODULE_TEMP, QString::number(inverter.m_nModuleTemp)},
                         });
    values.gaugeValue = online ? data.GetOutputPower() : 0.0;
}

StatusValues ReadStatus(const CInverter& inverter, bool withSerialNo) {
    StatusValues values;
    if (withSerialNo) {
        values.fields.push_back({IDC_STATUS_SERIAL_NO, BusText(inverter.m_strSerialNo)});
    }
    values.fields.push_back({IDC_STATUS_MODEL, BusText(inverter.m_strModel)});
    values.fields.push_back({IDC_STATUS_ADDRESS, QString::number(inverter.m_nAddress)});
    if (inverter.m_pRuntimeData != nullptr) {
        ReadMeasurements(inverter, *inverter.m_pRuntimeData, values);
    }
    return values;
}

void ShowWrites(QTableWidget& table, const std::vector<ParamAuditEntry>& entries) {
    table.setRowCount(static_cast<int>(entries.size()));
    int row = 0;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry, ++row) {
        const auto withUnit = [&entry](const std::string& value) {
            return QString::fromStdString(entry->unit.empty() ? value : value + " " + entry->unit);
        };
        const QString texts[] = {QString::fromStdString(LocalTimeText(entry->time)),
                                 QString::fromStdString(entry->parameter),
                                 withUnit(entry->oldValue), withUnit(entry->newValue),
                                 QString::fromStdString(entry->outcome)};
        for (int column = 0; column < table.columnCount(); ++column) {
            table.setItem(row, column, new QTableWidgetItem(texts[column]));
        }
    }
    table.resizeColumnsToContents();
}

bool IsAsciiLetterOrDigit(char character) {
    return (character >= '0' && character <= '9') || (character >= 'A' && character <= 'Z') ||
           (character >= 'a' && character <= 'z');
}
} // namespace

CInverterStatusDlg::CInverterStatusDlg(CHeliowatchDoc& document, QWidget* parent)
    : QDialog(parent), m_document(document), m_meter(this), m_refreshTimer(this), m_target(this) {
    setObjectName(QString::number(IDD_INVERTER_STATUS));
    setWindowTitle("Inverter status");
    // Paint covers every pixel: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    CreateInverterStatusForm(*this, m_meter);
    m_pGraphFrame = findChild<QWidget*>(QString::number(IDC_STATUS_GRAPH));
    m_refreshTimer.setObjectName(QString::number(REFRESH_TIMER));
    connect(&m_refreshTimer, &QTimer::timeout, this, &CInverterStatusDlg::OnRefreshTick);
    connect(findChild<QPushButton*>(QString::number(IDC_STATUS_SET_SERIAL)), &QPushButton::clicked,
            this, &CInverterStatusDlg::OnSetSerial);
    m_serialTimer.setSingleShot(true);
    connect(&m_serialTimer, &QTimer::timeout, this, &CInverterStatusDlg::OnSerialTick);
}

CInverterStatusDlg::~CInverterStatusDlg() {
    m_target.Detach();
    ReleaseStatusWnd();
}

void CInverterStatusDlg::SetInverter(CInverter* inverter) {
    m_pInverter = inverter;
    m_graph.SetAppearance(StationPalette::INVERTER_CURVE, "W", "Output power", true);
}

int CInverterStatusDlg::exec() {
    if (!OnInitDialog()) {
        setResult(Rejected);
        return Rejected;
    }
    return QDialog::exec();
}

bool CInverterStatusDlg::OnInitDialog() {
    int ratedPower = 0;
    const bool registered =
        m_document.WithInverter(m_pInverter, [&ratedPower](CInverter& record, CInverterGroup&) {
            ratedPower = record.m_nRatedPower;
        });
    if (!registered) {
        return false;
    }
    Refresh();
    m_refreshTimer.start(g_nInterval * 1000);
    m_document.WithInverter(m_pInverter, [this](CInverter& record, CInverterGroup&) {
        record.m_hStatusWnd = &m_target;
    });
    Edit(IDC_STATUS_SERIAL_NO)->setReadOnly(false);
    findChild<QPushButton*>(QString::number(IDC_STATUS_SET_SERIAL))->show();
    InitMeter(ratedPower);
    ShowWrites();
    // Enter must not start a serial-number change the operator did not type.
    Edit(IDC_STATUS_MODEL)->setFocus();
    return true;
}

void CInverterStatusDlg::ShowWrites() {
    std::string serialNo;
    m_document.WithInverter(m_pInverter, [&serialNo](CInverter& record, CInverterGroup&) {
        serialNo = record.m_strSerialNo;
    });
    ::ShowWrites(*findChild<QTableWidget*>(QString::number(IDC_STATUS_WRITES)),
                 ReadParamAudit(serialNo));
}

// The gauge shows 0 until the first refresh tick or update.
void CInverterStatusDlg::InitMeter(int ratedPower) {
    m_meter.SetNeedleColour(StationPalette::NEEDLE);
    m_meter.EnableColourBand(1);
    const double top = GaugeScaleTop(ratedPower);
    m_meter.SetRange(0.0, top);
    m_meter.SetValue(0.0);
}

void CInverterStatusDlg::done(int result) {
    m_refreshTimer.stop();
    m_serialTimer.stop();
    m_serialWatch.reset();
    ReleaseStatusWnd();
    QDialog::done(result);
}

void CInverterStatusDlg::ReleaseStatusWnd() {
    m_document.WithInverter(m_pInverter, [this](CInverter& record, CInverterGroup&) {
        MessageTarget* ours = &m_target;
        record.m_hStatusWnd.compare_exchange_strong(ours, nullptr);
    });
}

QRect CInverterStatusDlg::GetGraphRect() const {
    return m_pGraphFrame->geometry();
}

QString CInverterStatusDlg::ModeText(int mode) {
    const std::string text = ::ModeText(mode);
    return text.empty() ? QStringLiteral("Wait") : QString::fromStdString(text);
}

void CInverterStatusDlg::Refresh() {
    StatusValues values;
    const bool withSerialNo = m_bSerialPending;
    const bool registered = m_document.WithInverter(
        m_pInverter, [&values, withSerialNo](CInverter& record, CInverterGroup& group) {
            values = ReadStatus(record, withSerialNo);
            values.portNote = RejectNote(group);
        });
    if (!registered) {
        return;
    }
    // Filled once: later refreshes must not overwrite what the operator types.
    m_bSerialPending = false;
    for (const FieldText& field : values.fields) {
        Edit(field.id)->setText(field.text);
    }
    Edit(IDC_STATUS_ADDRESS)->setToolTip(values.portNote);
    if (values.gaugeValue) {
        m_meter.SetValue(*values.gaugeValue);
    }
}

void CInverterStatusDlg::OnRefreshTick() {
    Refresh();
    update(GetGraphRect());
}

bool CInverterStatusDlg::event(QEvent* event) {
    if (event->type() == WindowMessageEvent::EventType()) {
        if (static_cast<WindowMessageEvent*>(event)->Message() == WM_INVERTER_UPDATED) {
            OnRefreshTick();
        }
        return true;
    }
    return QDialog::event(event);
}

void CInverterStatusDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter after typing a serial number means "Set", not "close".
        if (focusWidget() == Edit(IDC_STATUS_SERIAL_NO)) {
            OnSetSerial();
        } else {
            accept();
        }
        return;
    }
    QDialog::keyPressEvent(event);
}

void CInverterStatusDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect graphRect = GetGraphRect();
    painter.setClipRegion(QRegion(rect()).subtracted(graphRect));
    painter.fillRect(rect(), BACKGROUND);
    painter.setClipping(false);
    const bool drawn = m_document.WithInverter(
        m_pInverter, [this, &painter, &graphRect](CInverter& record, CInverterGroup&) {
            m_graph.Draw(painter, graphRect, record.m_powerGraph);
        });
    if (!drawn) {
        m_graph.Draw(painter, graphRect);
    }
}

std::string CInverterStatusDlg::TypedSerial() const {
    return BusBytes(Edit(IDC_STATUS_SERIAL_NO)->text());
}

bool CInverterStatusDlg::ValidateSerial() {
    const QString problem = SerialProblem(TypedSerial());
    if (problem.isEmpty()) {
        return true;
    }
    MessageBox::Show(this, problem, QString());
    return false;
}

QString CInverterStatusDlg::SerialProblem(const std::string& typed) const {
    if (typed.empty()) {
        return QStringLiteral("Please input serno");
    }
    if (typed.size() > SERIAL_NO_LENGTH) {
        return QStringLiteral("Serno is too long");
    }
    if (typed.size() < SERIAL_NO_LENGTH) {
        return QStringLiteral("Serno is not enough");
    }
    if (std::none_of(typed.begin(), typed.end(), IsAsciiLetterOrDigit)) {
        return QStringLiteral("Serno are all blank");
    }
    bool taken = false;
    m_document.WithInverter(m_pInverter,
                            [&taken, &typed](CInverter& record, CInverterGroup& group) {
                                taken = group.IsSerialTaken(&record, typed);
                            });
    return taken ? QStringLiteral("Other inverter has the same serno") : QString();
}

// The request stands even when the wait ends without a report: the thread
// still carries it out later.
void CInverterStatusDlg::OnSetSerial() {
    if (m_serialWatch || !ValidateSerial() || CPasswordDlg(this).exec() != Accepted) {
        return;
    }
    const std::string serialNo = TypedSerial();
    m_document.WithInverter(m_pInverter, [&](CInverter& record, CInverterGroup& group) {
        m_serialAudit = {0,
                         group.m_nComPort,
                         record.m_nAddress,
                         record.m_strSerialNo,
                         SERIAL_PARAMETER,
                         "",
                         record.m_strSerialNo,
                         serialNo,
                         {}};
        m_serialWatch.emplace(RequestSerialChange(record, serialNo), group, m_outcomeTiming);
    });
    if (m_serialWatch) {
        m_serialTimer.start(0);
    } else {
        MessageBox::Show(this, "Change serno fail", QString());
    }
}

void CInverterStatusDlg::OnSerialTick() {
    CommandOutcome outcome = OUTCOME_NO_ANSWER; // the record is gone
    m_document.WithInverter(m_pInverter, [this, &outcome](CInverter& record, CInverterGroup&) {
        outcome = m_serialWatch->Check(record);
    });
    if (outcome == OUTCOME_PENDING) {
        m_serialTimer.start(m_serialWatch->Pause());
        return;
    }
    m_serialWatch.reset();
    m_serialAudit.time = m_document.Now();
    m_serialAudit.outcome = CommandOutcomeText(outcome);
    std::string problem;
    QString note;
    if (!AppendParamAudit(m_serialAudit, &problem)) {
        Log(LogLevel::Warning, "serial number change not recorded: " + problem);
        note = QString("\n\nNot recorded in %1: %2")
                   .arg(QString::fromStdString(ParamAuditPath()), QString::fromStdString(problem));
    }
    ShowWrites();
    MessageBox::Show(this,
                     (outcome == OUTCOME_ACKNOWLEDGED
                          ? QString("Change serno success")
                          : QString("Change serno fail: ") + CommandOutcomeText(outcome)) +
                         note,
                     QString());
}

QLineEdit* CInverterStatusDlg::Edit(int id) const {
    return findChild<QLineEdit*>(QString::number(id));
}
