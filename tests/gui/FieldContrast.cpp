#include "FieldContrast.h"

#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <algorithm>
#include <cmath>
#include <map>

namespace {
double Linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(QRgb pixel) {
    return 0.2126 * Linear(qRed(pixel)) + 0.7152 * Linear(qGreen(pixel)) +
           0.0722 * Linear(qBlue(pixel));
}
} // namespace

// The background is the commonest colour inside the frame; the text, the
// pixel that differs from it most.
double ContrastRatio(const QColor& one, const QColor& other) {
    const double a = Luminance(one.rgb());
    const double b = Luminance(other.rgb());
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double FieldContrast(QLineEdit& field) {
    field.setText("8888.8");
    const QImage picture = field.grab().toImage();
    const QRect inside = picture.rect().adjusted(3, 3, -3, -3);
    std::map<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ++counts[picture.pixel(x, y)];
        }
    }
    const QRgb background =
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
            return a.second < b.second;
        })->first;
    const double base = Luminance(background);
    double farthest = base;
    for (const auto& [pixel, count] : counts) {
        if (std::fabs(Luminance(pixel) - base) > std::fabs(farthest - base)) {
            farthest = Luminance(pixel);
        }
    }
    return (std::max(base, farthest) + 0.05) / (std::min(base, farthest) + 0.05);
}
