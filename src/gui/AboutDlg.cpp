#include "AboutDlg.h"

#include "Artwork.h"
#include "HeliowatchVersion.h"
#include "res/ResourceIds.h"
#include "widgets/DialogControls.h"
#include "widgets/DialogUnits.h"

#include <QLabel>
#include <QPushButton>

namespace {
// Icon controls take the icon's own size, whatever the template says.
constexpr int ICON_PIXELS = 32;
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    const DialogUnits units = SetUpDialog(*this, IDD_ABOUTBOX, "About Heliowatch", 265, 81);

    auto* icon = new QLabel(this);
    icon->setObjectName(QString::number(IDI_ABOUT));
    icon->setGeometry(units.X(8), units.Y(8), ICON_PIXELS, ICON_PIXELS);
    icon->setPixmap(Artwork::Icon(IDI_ABOUT).pixmap(ICON_PIXELS, ICON_PIXELS));
    AddStaticText(this, units, "Thanks your using our product", QRect(53, 12, 149, 8));
    AddStaticText(this, units, "Heliowatch Version " HELIOWATCH_VERSION, QRect(53, 27, 119, 8));

    QPushButton* ok = AddPushButton(this, units, "OK", IDOK, QPoint(208, 7));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}
