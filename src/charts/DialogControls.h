#pragma once

#include "DialogUnits.h"

#include <QPoint>
#include <QRect>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

// Gives a dialog its id, caption, dialog font and fixed size in dialog units;
// returns the units its controls are placed in.
DialogUnits SetUpDialog(QDialog& dialog, int id, const QString& caption, int width, int height);

// A standard 50 × 14 push button at a position in dialog units, named by its id.
QPushButton* AddPushButton(QWidget* parent, const DialogUnits& units, const QString& text, int id,
                           QPoint at);

// Static text anchored at the top left of its rectangle in dialog units;
// named by its id when it has one.
QLabel* AddStaticText(QWidget* parent, const DialogUnits& units, const QString& text, QRect rect,
                      int id = 0);
