#include "DialogUnits.h"

#include <QFontMetrics>

namespace {
int Scale(int units, int base, int divisor) {
    return (units * base + divisor / 2) / divisor;
}
} // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    m_baseX = (metrics.horizontalAdvance(alphabet) / 26 + 1) / 2;
    m_baseY = metrics.height();
}

int DialogUnits::X(int units) const {
    return Scale(units, m_baseX, 4);
}

int DialogUnits::Y(int units) const {
    return Scale(units, m_baseY, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    return QRect(X(x), Y(y), X(width), Y(height));
}

QFont DialogUnits::DialogFont() {
    QFont font("Arial");
    font.setPointSize(8);
    return font;
}
