#include "StatusIcons.h"

#include "res/ResourceIds.h"

#include <QPainter>
#include <QRadialGradient>

QColor StatusIcons::Colour(int iconId) {
    switch (iconId) {
    case IDI_STATUS_GREY: return QColor(150, 150, 150);
    case IDI_STATUS_GREEN: return QColor(20, 190, 40);
    case IDI_STATUS_RED: return QColor(220, 30, 30);
    default: return QColor(Qt::transparent);
    }
}

QPixmap StatusIcons::Pixmap(int iconId, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    const QColor colour = Colour(iconId);
    if (colour.alpha() == 0) {
        return pixmap;
    }
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // One pixel of margin at 16 px keeps the rim clear of the grid lines.
    const qreal rim = size / 16.0;
    const QRectF disc = QRectF(0, 0, size, size).adjusted(rim, rim, -rim, -rim);
    // Lit from the upper left, so the discs read as lamps.
    QRadialGradient light(disc.center(), disc.width() / 2,
                          disc.topLeft() + QPointF(size, size) / 3);
    light.setColorAt(0.0, colour.lighter(160));
    light.setColorAt(0.6, colour);
    light.setColorAt(1.0, colour.darker(130));
    painter.setBrush(light);
    painter.setPen(QPen(colour.darker(170), rim));
    painter.drawEllipse(disc);
    return pixmap;
}

QIcon StatusIcons::Icon(int iconId) {
    QIcon icon;
    icon.addPixmap(Pixmap(iconId, LIST_SIZE));
    icon.addPixmap(Pixmap(iconId, STANDARD_SIZE));
    return icon;
}
