#pragma once

class CMeter;
class QDialog;

// Lays out the inverter status dialog as its template gives it: the dialog
// font, the fixed size and every control in dialog units, each control named
// by its id. The gauge, a child of the dialog, takes the place of its static
// control. Below the chart, a table lists the values written to the inverter.
void CreateInverterStatusForm(QDialog& dialog, CMeter& meter);
