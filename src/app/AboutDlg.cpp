#include "AboutDlg.h"

#include "Artwork.h"
#include "DialogUnits.h"
#include "ResourceIds.h"

#include <QLabel>
#include <QPushButton>

namespace {
// Icon controls take the icon's own size, whatever the template says.
constexpr int ICON_PIXELS = 32;

void AddText(QDialog* dialog, const DialogUnits& units, const QString& text, QRect rect) {
    auto* label = new QLabel(text, dialog);
    label->setGeometry(units.Rect(rect.x(), rect.y(), rect.width(), rect.height()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::number(IDD_ABOUTBOX));
    setWindowTitle("About Heliowatch");
    setFont(DialogUnits::DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.Rect(0, 0, 265, 81).size());

    auto* icon = new QLabel(this);
    icon->setObjectName(QString::number(IDI_ABOUT));
    icon->setGeometry(units.X(8), units.Y(8), ICON_PIXELS, ICON_PIXELS);
    icon->setPixmap(Artwork::Icon(IDI_ABOUT).pixmap(ICON_PIXELS, ICON_PIXELS));
    AddText(this, units, "Thanks your using our product", QRect(53, 12, 149, 8));
    AddText(this, units, "Heliowatch Version 0.1", QRect(53, 27, 119, 8));

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName(QString::number(IDOK));
    ok->setGeometry(units.Rect(208, 7, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
