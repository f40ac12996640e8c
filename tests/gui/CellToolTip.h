#pragma once

#include <QString>

class QTableWidget;

// The tooltip the operator gets when resting the mouse on a cell; empty when
// none is shown.
QString CellToolTip(QTableWidget& table, int row, int column);
