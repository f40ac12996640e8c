#include "MeterPicture.h"

#include <QPalette>
#include <algorithm>
#include <cmath>
#include <numbers>

MeterGeometry::MeterGeometry(QSize size)
    : MeterGeometry(size, std::max(size.width(), size.height()) * 9 / 21) {}

MeterGeometry::MeterGeometry(QSize size, int scaleRadius) : radius(scaleRadius) {
    pivot = QPoint(size.width() / 2, size.height() / 2 + radius / 10);
    const int inset = radius / 18;
    outer = radius - 2 * inset;
    inner = radius * 8 / 10;
    mid = inner + (outer - inner) / 2;
}

QPoint MeterGeometry::At(double degrees, double distance) const {
    const double angle = degrees * std::numbers::pi / 180.0;
    return QPoint(static_cast<int>(std::lround(pivot.x() + distance * std::cos(angle))),
                  static_cast<int>(std::lround(pivot.y() - distance * std::sin(angle))));
}

void UseTestColours(CMeter& meter) {
    QPalette palette = meter.palette();
    palette.setColor(QPalette::Button, FACE_COLOUR);
    palette.setColor(QPalette::Dark, SHADOW_COLOUR);
    palette.setColor(QPalette::Light, HIGHLIGHT_COLOUR);
    meter.setPalette(palette);
}

QImage Snapshot(CMeter& meter) {
    QImage image(meter.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    meter.render(&image);
    return image;
}

bool IsBlack(QRgb pixel) {
    return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) < 40;
}

namespace {
template <class Match>
bool AnyNear(const QImage& image, QPoint point, Match match) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint at = point + QPoint(dx, dy);
            if (image.valid(at) && match(image.pixel(at))) {
                return true;
            }
        }
    }
    return false;
}
} // namespace

bool HasColourNear(const QImage& image, QPoint point, const QColor& colour) {
    return AnyNear(image, point, [&](QRgb pixel) { return QColor(pixel) == colour; });
}

bool HasBlackNear(const QImage& image, QPoint point) {
    return AnyNear(image, point, IsBlack);
}
