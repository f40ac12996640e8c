#pragma once

#include "DialogUnits.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <span>

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

// One control of a form laid out in dialog units.
enum class ControlKind { GROUP_BOX, HIDDEN_BOX, LABEL, EDIT, BUTTON };
inline constexpr int NO_CONTROL_ID = -1;
struct FormControl {
    int id; // NO_CONTROL_ID: not looked up, so not named
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

// Creates a form's controls: edits read-only, buttons hidden and never the
// default, each named by its id.
void CreateFormControls(QWidget& form, const DialogUnits& units,
                        std::span<const FormControl> controls);
