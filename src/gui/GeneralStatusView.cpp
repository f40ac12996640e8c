#include "GeneralStatusView.h"

#include "DeviceRow.h"
#include "charts/NiceScale.h"
#include "comm/WindowMessages.h"
#include "res/ResourceIds.h"
#include "store/HeliowatchDoc.h"
#include "store/PlantTotals.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"
#include "widgets/StationPalette.h"
#include "widgets/WindowMessageEvent.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>

namespace {
const QString CAPTION = QStringLiteral("General Status");
constexpr int FORM_WIDTH = 341;
constexpr int FORM_HEIGHT = 137;

constexpr FormControl FORM[] = {
    {IDC_ENERGY_BOX, ControlKind::GROUP_BOX, "Energy", 7, 7, 165, 65},
    {IDC_TODAY_LABEL, ControlKind::LABEL, "Today", 15, 21, 46, 14},
    {IDC_TOTAL_ETODAY, ControlKind::EDIT, "", 81, 19, 57, 14},
    {IDC_TODAY_UNIT, ControlKind::LABEL, "KWh", 142, 21, 24, 14},
    {IDC_LIFETIME_LABEL, ControlKind::LABEL, "Lifetime", 15, 49, 46, 14},
    {IDC_TOTAL_ETOTAL, ControlKind::EDIT, "", 81, 47, 57, 14},
    {IDC_LIFETIME_UNIT, ControlKind::LABEL, "KWh", 142, 49, 23, 14},
    {IDC_POWER_BOX, ControlKind::GROUP_BOX, "Power", 7, 80, 165, 49},
    {IDC_REPORTING, ControlKind::LABEL, "", 19, 92, 147, 9},
    {IDC_POWER_LABEL, ControlKind::LABEL, "Power", 19, 105, 46, 14},
    {IDC_TOTAL_POWER, ControlKind::EDIT, "", 81, 103, 57, 14},
    {IDC_POWER_UNIT, ControlKind::LABEL, "W", 146, 105, 20, 14},
    {IDC_OUTPUT_POWER_BOX, ControlKind::GROUP_BOX, "Output Power", 176, 7, 158, 122},
};

} // namespace

CGeneralStatusView::CGeneralStatusView(CHeliowatchDoc& document, QWidget* parent)
    : QWidget(parent), m_document(document), m_meter(this), m_refreshTimer(this) {
    setObjectName(QString::number(IDD_GENERAL_STATUS));
    m_refreshTimer.setObjectName(QString::number(REFRESH_TIMER));
    connect(&m_refreshTimer, &QTimer::timeout, this, &CGeneralStatusView::OnTimer);
    CreateForm();
}

void CGeneralStatusView::CreateForm() {
    setFont(DialogUnits::DialogFont());
    const DialogUnits units(font());
    CreateFormControls(*this, units, FORM);
    m_pTodayEdit = findChild<QLineEdit*>(QString::number(IDC_TOTAL_ETODAY));
    m_pLifetimeEdit = findChild<QLineEdit*>(QString::number(IDC_TOTAL_ETOTAL));
    m_pPowerEdit = findChild<QLineEdit*>(QString::number(IDC_TOTAL_POWER));
    m_pReporting = findChild<QLabel*>(QString::number(IDC_REPORTING));
    // Raised above the group box that frames it.
    m_meter.setObjectName(QString::number(IDC_GENERAL_METER));
    m_meter.setGeometry(units.Rect(185, 20, 139, 104));
    m_meter.raise();
}

QSize CGeneralStatusView::sizeHint() const {
    return DialogUnits(font()).Rect(0, 0, FORM_WIDTH, FORM_HEIGHT).size();
}

// The pane may hold the view in a scroll area.
void CGeneralStatusView::OnInitialUpdate() {
    for (QWidget* frame = parentWidget(); frame != nullptr; frame = frame->parentWidget()) {
        if (qobject_cast<QMdiSubWindow*>(frame) != nullptr) {
            frame->setWindowTitle(CAPTION);
            break;
        }
    }
    ArmTimer(m_document.GetInterval());
    m_meter.SetNeedleColour(StationPalette::NEEDLE);
    m_meter.EnableColourBand(1);
    m_meter.SetRange(0.0, 100.0);
    m_meter.SetValue(0.0);
}

void CGeneralStatusView::OnTimer() {
    const PlantTotals totals = ReadPlantTotals(m_document, m_document.Now());
    const double power = totals.powerW;
    m_pTodayEdit->setText(QString::asprintf("%0.1f", totals.eTodayKWh));
    m_pLifetimeEdit->setText(QString::asprintf("%0.1f", totals.eTotalKWh));
    m_pPowerEdit->setText(QString::number(WholeFigure(power)));
    m_pReporting->setText(
        QString("%1 of %2 reporting").arg(totals.reporting).arg(totals.registered));

    const int interval = m_document.GetInterval();
    if (m_nArmedInterval != interval) {
        m_nArmedInterval = interval;
        ArmTimer(interval);
    }

    const double top = GaugeScaleTop(power);
    m_meter.SetValueAndRange(power, 0.0, top);
}

bool CGeneralStatusView::event(QEvent* event) {
    if (event->type() == WindowMessageEvent::EventType()) {
        if (static_cast<WindowMessageEvent*>(event)->Message() == WM_INTERVAL_CHANGED) {
            ArmTimer(m_document.GetInterval());
        }
        return true;
    }
    return QWidget::event(event);
}

void CGeneralStatusView::ArmTimer(int seconds) {
    m_refreshTimer.start(seconds * 1000);
}
