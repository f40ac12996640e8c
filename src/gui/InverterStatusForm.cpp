#include "InverterStatusForm.h"

#include "charts/Meter.h"
#include "res/ResourceIds.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"

#include <QDialog>
#include <QHeaderView>
#include <QTableWidget>

namespace {
constexpr int FORM_WIDTH = 596;
constexpr int FORM_HEIGHT = 338;
const QStringList WRITE_HEADINGS = {"Time", "Parameter", "Old value", "New value", "Outcome"};
constexpr int NO_ID = NO_CONTROL_ID;

constexpr FormControl FORM[] = {
    {NO_ID, ControlKind::GROUP_BOX, "Information", 6, 3, 222, 147},
    {NO_ID, ControlKind::LABEL, "Serial no.", 11, 17, 53, 8},
    {IDC_STATUS_SERIAL_NO, ControlKind::EDIT, "", 78, 13, 81, 12},
    {IDC_STATUS_SET_SERIAL, ControlKind::BUTTON, "Set", 181, 13, 28, 14},
    {NO_ID, ControlKind::LABEL, "Model", 11, 32, 53, 8},
    {IDC_STATUS_MODEL, ControlKind::EDIT, "", 78, 30, 67, 12},
    {NO_ID, ControlKind::LABEL, "Address", 11, 50, 53, 8},
    {IDC_STATUS_ADDRESS, ControlKind::EDIT, "", 78, 48, 67, 12},
    {NO_ID, ControlKind::LABEL, "Temperature", 11, 69, 53, 8},
    {NO_ID, ControlKind::LABEL, "°C", 155, 71, 39, 8},
    {IDC_STATUS_TEMPERATURE, ControlKind::EDIT, "", 78, 66, 67, 12},
    {NO_ID, ControlKind::LABEL, "Vpv1", 11, 88, 53, 8},
    {NO_ID, ControlKind::LABEL, "V", 155, 87, 39, 8},
    {IDC_STATUS_VPV1, ControlKind::EDIT, "", 78, 85, 67, 12},
    {NO_ID, ControlKind::LABEL, "Vpv2", 12, 104, 53, 8},
    {NO_ID, ControlKind::LABEL, "V", 155, 102, 39, 8},
    {IDC_STATUS_VPV2, ControlKind::EDIT, "", 77, 100, 67, 12},
    {NO_ID, ControlKind::LABEL, "Mode", 10, 117, 53, 8},
    {IDC_STATUS_MODE, ControlKind::EDIT, "", 77, 114, 67, 12},
    {NO_ID, ControlKind::LABEL, "Error message", 11, 132, 53, 8},
    {IDC_STATUS_FAULT, ControlKind::EDIT, "", 78, 129, 146, 14},
    {NO_ID, ControlKind::GROUP_BOX, "Energy", 7, 155, 204, 55},
    {NO_ID, ControlKind::LABEL, "Today", 11, 170, 53, 8},
    {NO_ID, ControlKind::LABEL, "kWh", 155, 170, 39, 8},
    {IDC_STATUS_ETODAY, ControlKind::EDIT, "", 78, 167, 67, 14},
    {NO_ID, ControlKind::LABEL, "Lifetime", 11, 191, 53, 8},
    {NO_ID, ControlKind::LABEL, "kWh", 155, 191, 39, 8},
    {IDC_STATUS_ETOTAL, ControlKind::EDIT, "", 78, 188, 67, 14},
    {NO_ID, ControlKind::GROUP_BOX, "Power", 7, 215, 204, 55},
    {NO_ID, ControlKind::LABEL, "Current power", 11, 231, 65, 8},
    {NO_ID, ControlKind::LABEL, "W", 155, 231, 39, 8},
    {IDC_STATUS_POWER, ControlKind::EDIT, "", 78, 228, 67, 14},
    {NO_ID, ControlKind::LABEL, "Max. daily power", 11, 252, 65, 8},
    {NO_ID, ControlKind::LABEL, "W", 155, 252, 39, 8},
    {IDC_STATUS_MAX_POWER, ControlKind::EDIT, "", 78, 249, 67, 14},
    {NO_ID, ControlKind::GROUP_BOX, "Output power", 231, 3, 124, 112},
    {IDC_STATUS_GRAPH, ControlKind::HIDDEN_BOX, "Output power", 231, 120, 361, 150},
    {NO_ID, ControlKind::GROUP_BOX, "Environment", 359, 3, 233, 112},
    {NO_ID, ControlKind::LABEL, "Radiation", 363, 20, 53, 8},
    {NO_ID, ControlKind::LABEL, "W/m²", 549, 20, 39, 8},
    {IDC_STATUS_RADIATION, ControlKind::EDIT, "", 478, 17, 67, 14},
    {NO_ID, ControlKind::LABEL, "Wind speed", 363, 43, 53, 8},
    {NO_ID, ControlKind::LABEL, "m/s", 549, 42, 39, 8},
    {IDC_STATUS_WIND_SPEED, ControlKind::EDIT, "", 478, 40, 67, 14},
    {NO_ID, ControlKind::LABEL, "Environment temperature", 363, 70, 99, 8},
    {NO_ID, ControlKind::LABEL, "°C", 549, 68, 39, 8},
    {IDC_STATUS_ENV_TEMP, ControlKind::EDIT, "", 478, 66, 67, 14},
    {NO_ID, ControlKind::LABEL, "Module temperature", 363, 96, 103, 8},
    {NO_ID, ControlKind::LABEL, "°C", 549, 94, 39, 8},
    {IDC_STATUS_MODULE_TEMP, ControlKind::EDIT, "", 478, 92, 67, 14},
    {NO_ID, ControlKind::LABEL, "Parameter writes", 7, 276, 120, 8},
};

QTableWidget* AddWritesTable(QDialog& dialog, const DialogUnits& units) {
    auto* table = new QTableWidget(0, WRITE_HEADINGS.size(), &dialog);
    table->setObjectName(QString::number(IDC_STATUS_WRITES));
    table->setGeometry(units.Rect(7, 286, 585, 46));
    table->setHorizontalHeaderLabels(WRITE_HEADINGS);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

} // namespace

void CreateInverterStatusForm(QDialog& dialog, CMeter& meter) {
    dialog.setFont(DialogUnits::DialogFont());
    const DialogUnits units(dialog.font());
    dialog.setFixedSize(units.Rect(0, 0, FORM_WIDTH, FORM_HEIGHT).size());
    CreateFormControls(dialog, units, FORM);
    // Raised above the group box that frames it.
    meter.setObjectName(QString::number(IDC_STATUS_METER));
    meter.setGeometry(units.Rect(242, 19, 104, 91));
    meter.raise();
    AddWritesTable(dialog, units);
}
