#include "InverterStatusForm.h"

#include "DialogUnits.h"
#include "Meter.h"
#include "ResourceIds.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int FORM_WIDTH = 596;
constexpr int FORM_HEIGHT = 275;
constexpr int NO_ID = -1;

enum class Kind { GROUP_BOX, LABEL, EDIT, BUTTON, HIDDEN_BOX };

struct FormControl {
    int id;
    Kind kind;
    const char* text;
    int x, y, width, height;
};

constexpr FormControl FORM[] = {
    {NO_ID, Kind::GROUP_BOX, "Information", 6, 3, 222, 147},
    {NO_ID, Kind::LABEL, "Serial no.", 11, 17, 53, 8},
    {IDC_STATUS_SERIAL_NO, Kind::EDIT, "", 78, 13, 81, 12},
    {IDC_STATUS_SET_SERIAL, Kind::BUTTON, "Set", 181, 13, 28, 14},
    {NO_ID, Kind::LABEL, "Model", 11, 32, 53, 8},
    {IDC_STATUS_MODEL, Kind::EDIT, "", 78, 30, 67, 12},
    {NO_ID, Kind::LABEL, "Address", 11, 50, 53, 8},
    {IDC_STATUS_ADDRESS, Kind::EDIT, "", 78, 48, 67, 12},
    {NO_ID, Kind::LABEL, "Temperature", 11, 69, 53, 8},
    {NO_ID, Kind::LABEL, "°C", 155, 71, 39, 8},
    {IDC_STATUS_TEMPERATURE, Kind::EDIT, "", 78, 66, 67, 12},
    {NO_ID, Kind::LABEL, "Vpv1", 11, 88, 53, 8},
    {NO_ID, Kind::LABEL, "V", 155, 87, 39, 8},
    {IDC_STATUS_VPV1, Kind::EDIT, "", 78, 85, 67, 12},
    {NO_ID, Kind::LABEL, "Vpv2", 12, 104, 53, 8},
    {NO_ID, Kind::LABEL, "V", 155, 102, 39, 8},
    {IDC_STATUS_VPV2, Kind::EDIT, "", 77, 100, 67, 12},
    {NO_ID, Kind::LABEL, "Mode", 10, 117, 53, 8},
    {IDC_STATUS_MODE, Kind::EDIT, "", 77, 114, 67, 12},
    {NO_ID, Kind::LABEL, "Error message", 11, 132, 53, 8},
    {IDC_STATUS_FAULT, Kind::EDIT, "", 78, 129, 146, 14},
    {NO_ID, Kind::GROUP_BOX, "Energy", 7, 155, 204, 55},
    {NO_ID, Kind::LABEL, "Today", 11, 170, 53, 8},
    {NO_ID, Kind::LABEL, "kWh", 155, 170, 39, 8},
    {IDC_STATUS_ETODAY, Kind::EDIT, "", 78, 167, 67, 14},
    {NO_ID, Kind::LABEL, "Lifetime", 11, 191, 53, 8},
    {NO_ID, Kind::LABEL, "kWh", 155, 191, 39, 8},
    {IDC_STATUS_ETOTAL, Kind::EDIT, "", 78, 188, 67, 14},
    {NO_ID, Kind::GROUP_BOX, "Power", 7, 215, 204, 55},
    {NO_ID, Kind::LABEL, "Current power", 11, 231, 65, 8},
    {NO_ID, Kind::LABEL, "W", 155, 231, 39, 8},
    {IDC_STATUS_POWER, Kind::EDIT, "", 78, 228, 67, 14},
    {NO_ID, Kind::LABEL, "Max. daily power", 11, 252, 65, 8},
    {NO_ID, Kind::LABEL, "W", 155, 252, 39, 8},
    {IDC_STATUS_MAX_POWER, Kind::EDIT, "", 78, 249, 67, 14},
    {NO_ID, Kind::GROUP_BOX, "Output power", 231, 3, 124, 112},
    {IDC_STATUS_GRAPH, Kind::HIDDEN_BOX, "Output power", 231, 120, 361, 150},
    {NO_ID, Kind::GROUP_BOX, "Environment", 359, 3, 233, 112},
    {NO_ID, Kind::LABEL, "Radiation", 363, 20, 53, 8},
    {NO_ID, Kind::LABEL, "Wh", 549, 20, 39, 8},
    {IDC_STATUS_RADIATION, Kind::EDIT, "", 478, 17, 67, 14},
    {NO_ID, Kind::LABEL, "Wind speed", 363, 43, 53, 8},
    {NO_ID, Kind::LABEL, "kWh", 549, 42, 39, 8},
    {IDC_STATUS_WIND_SPEED, Kind::EDIT, "", 478, 40, 67, 14},
    {NO_ID, Kind::LABEL, "Environment temperature", 363, 70, 99, 8},
    {NO_ID, Kind::LABEL, "°C", 549, 68, 39, 8},
    {IDC_STATUS_ENV_TEMP, Kind::EDIT, "", 478, 66, 67, 14},
    {NO_ID, Kind::LABEL, "Module temperature", 363, 96, 103, 8},
    {NO_ID, Kind::LABEL, "°C", 549, 94, 39, 8},
    {IDC_STATUS_MODULE_TEMP, Kind::EDIT, "", 478, 92, 67, 14},
};

QWidget* CreateControl(const FormControl& control, QDialog& dialog) {
    switch (control.kind) {
    case Kind::GROUP_BOX: return new QGroupBox(control.text, &dialog);
    case Kind::HIDDEN_BOX: {
        auto* box = new QGroupBox(control.text, &dialog);
        box->hide();
        return box;
    }
    case Kind::LABEL: {
        auto* label = new QLabel(control.text, &dialog);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case Kind::EDIT: {
        auto* edit = new QLineEdit(&dialog);
        edit->setEnabled(false);
        return edit;
    }
    case Kind::BUTTON: {
        auto* button = new QPushButton(control.text, &dialog);
        // Enter ends the dialog; it never presses "Set".
        button->setAutoDefault(false);
        button->hide();
        return button;
    }
    }
    return nullptr;
}
} // namespace

void CreateInverterStatusForm(QDialog& dialog, CMeter& meter) {
    dialog.setFont(DialogUnits::DialogFont());
    const DialogUnits units(dialog.font());
    dialog.setFixedSize(units.Rect(0, 0, FORM_WIDTH, FORM_HEIGHT).size());
    for (const FormControl& control : FORM) {
        QWidget* widget = CreateControl(control, dialog);
        widget->setGeometry(units.Rect(control.x, control.y, control.width, control.height));
        if (control.id != NO_ID) {
            widget->setObjectName(QString::number(control.id));
        }
    }
    // Raised above the group box that frames it.
    meter.setObjectName(QString::number(IDC_STATUS_METER));
    meter.setGeometry(units.Rect(242, 19, 104, 91));
    meter.raise();
}
