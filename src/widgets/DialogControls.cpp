#include "DialogControls.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr int BUTTON_WIDTH = 50;
constexpr int BUTTON_HEIGHT = 14;

QWidget* CreateControl(const FormControl& control, QWidget& form) {
    switch (control.kind) {
    case ControlKind::GROUP_BOX: return new QGroupBox(control.text, &form);
    case ControlKind::HIDDEN_BOX: {
        auto* box = new QGroupBox(control.text, &form);
        box->hide();
        return box;
    }
    case ControlKind::LABEL: {
        auto* label = new QLabel(control.text, &form);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::EDIT: {
        // Read-only rather than disabled: a disabled box greys its text out
        // of reach of the eye.
        auto* edit = new QLineEdit(&form);
        edit->setReadOnly(true);
        return edit;
    }
    case ControlKind::BUTTON: {
        auto* button = new QPushButton(control.text, &form);
        button->setAutoDefault(false);
        button->hide();
        return button;
    }
    }
    return nullptr;
}
} // namespace

DialogUnits SetUpDialog(QDialog& dialog, int id, const QString& caption, int width, int height) {
    dialog.setObjectName(QString::number(id));
    dialog.setWindowTitle(caption);
    dialog.setFont(DialogUnits::DialogFont());
    const DialogUnits units(dialog.font());
    dialog.setFixedSize(units.Rect(0, 0, width, height).size());
    return units;
}

QPushButton* AddPushButton(QWidget* parent, const DialogUnits& units, const QString& text, int id,
                           QPoint at) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::number(id));
    button->setGeometry(units.Rect(at.x(), at.y(), BUTTON_WIDTH, BUTTON_HEIGHT));
    return button;
}

QLabel* AddStaticText(QWidget* parent, const DialogUnits& units, const QString& text, QRect rect,
                      int id) {
    auto* label = new QLabel(text, parent);
    if (id != 0) {
        label->setObjectName(QString::number(id));
    }
    label->setGeometry(units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void CreateFormControls(QWidget& form, const DialogUnits& units,
                        std::span<const FormControl> controls) {
    for (const FormControl& control : controls) {
        QWidget* widget = CreateControl(control, form);
        widget->setGeometry(units.Rect(control.x, control.y, control.width, control.height));
        if (control.id != NO_CONTROL_ID) {
            widget->setObjectName(QString::number(control.id));
        }
    }
}
