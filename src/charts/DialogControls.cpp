#include "DialogControls.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace {
constexpr int BUTTON_WIDTH = 50;
constexpr int BUTTON_HEIGHT = 14;
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
