#include "Artwork.h"

#include "res/ResourceIds.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QRadialGradient>
#include <cmath>
#include <functional>
#include <numbers>

namespace {
constexpr int SPLASH_WIDTH = 1017;
constexpr int SPLASH_HEIGHT = 607;
// Icons are drawn on a 32-unit grid and scaled to each size.
constexpr double ICON_GRID = 32.0;

const QColor PANEL_FRAME(214, 222, 232);
const QColor PANEL_DARK(22, 44, 86);
const QColor PANEL_LIGHT(46, 98, 160);
const QColor CELL_LINE(120, 170, 225);
const QColor SUN_CORE(255, 214, 74);
const QColor SUN_EDGE(255, 168, 38);

// A point of a four-cornered panel face: u runs along the bottom edge, v up
// the side. Corners in the order bottom-left, bottom-right, top-right, top-left.
QPointF OnQuad(const QPolygonF& quad, double u, double v) {
    const QPointF bottom = quad[0] + (quad[1] - quad[0]) * u;
    const QPointF top = quad[3] + (quad[2] - quad[3]) * u;
    return bottom + (top - bottom) * v;
}

void DrawPanel(QPainter& painter, const QPolygonF& quad, int columns, int rows, double lineWidth) {
    QLinearGradient glass(quad[3], quad[1]);
    glass.setColorAt(0.0, PANEL_LIGHT);
    glass.setColorAt(1.0, PANEL_DARK);
    painter.setPen(QPen(PANEL_FRAME, lineWidth * 1.6));
    painter.setBrush(glass);
    painter.drawPolygon(quad);
    painter.setPen(QPen(CELL_LINE, lineWidth));
    for (int column = 1; column < columns; ++column) {
        const double u = double(column) / columns;
        painter.drawLine(OnQuad(quad, u, 0.0), OnQuad(quad, u, 1.0));
    }
    for (int row = 1; row < rows; ++row) {
        const double v = double(row) / rows;
        painter.drawLine(OnQuad(quad, 0.0, v), OnQuad(quad, 1.0, v));
    }
}

void DrawSunRays(QPainter& painter, QPointF centre, double inner, double outer, int count,
                 const QPen& pen) {
    painter.setPen(pen);
    for (int ray = 0; ray < count; ++ray) {
        const double angle = 2.0 * std::numbers::pi * ray / count;
        const QPointF direction(std::cos(angle), std::sin(angle));
        painter.drawLine(centre + direction * inner, centre + direction * outer);
    }
}

void DrawSunDisc(QPainter& painter, QPointF centre, double radius) {
    QRadialGradient disc(centre, radius, centre - QPointF(radius, radius) * 0.3);
    disc.setColorAt(0.0, QColor(255, 246, 196));
    disc.setColorAt(0.6, SUN_CORE);
    disc.setColorAt(1.0, SUN_EDGE);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(centre, radius, radius);
}

void DrawSky(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, SPLASH_HEIGHT * 0.72);
    sky.setColorAt(0.0, QColor(18, 46, 104));
    sky.setColorAt(0.55, QColor(74, 140, 206));
    sky.setColorAt(1.0, QColor(250, 200, 128));
    painter.fillRect(0, 0, SPLASH_WIDTH, SPLASH_HEIGHT, sky);
}

void DrawSun(QPainter& painter) {
    const QPointF centre(790, 150);
    QRadialGradient glow(centre, 260);
    glow.setColorAt(0.0, QColor(255, 250, 220, 220));
    glow.setColorAt(0.3, QColor(255, 245, 210, 90));
    glow.setColorAt(1.0, QColor(255, 245, 210, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, 260, 260);
    DrawSunRays(painter, centre, 86, 128, 16,
                QPen(QColor(255, 230, 140, 150), 5, Qt::SolidLine, Qt::RoundCap));
    DrawSunDisc(painter, centre, 70);
}

void DrawHill(QPainter& painter, double baseY, double crestY, double crestX, const QColor& near,
              const QColor& far) {
    QPainterPath hill(QPointF(0, baseY));
    hill.cubicTo(crestX * 0.5, crestY, crestX, crestY, crestX * 1.6, baseY - 20);
    hill.cubicTo(crestX * 2.0, baseY - 40, SPLASH_WIDTH * 0.9, crestY + 10, SPLASH_WIDTH,
                 baseY - 30);
    hill.lineTo(SPLASH_WIDTH, SPLASH_HEIGHT);
    hill.lineTo(0, SPLASH_HEIGHT);
    hill.closeSubpath();
    QLinearGradient grass(0, crestY, 0, SPLASH_HEIGHT);
    grass.setColorAt(0.0, far);
    grass.setColorAt(1.0, near);
    painter.setPen(Qt::NoPen);
    painter.setBrush(grass);
    painter.drawPath(hill);
}

// One row of panels on their stands, smaller towards the horizon.
void DrawPanelRow(QPainter& painter, double groundY, double panelWidth, double firstX, int count) {
    const double height = panelWidth * 0.55;
    const double lean = panelWidth * 0.22;
    const double gap = panelWidth * 0.18;
    for (int index = 0; index < count; ++index) {
        const double left = firstX + index * (panelWidth + gap);
        const double bottom = groundY - height * 0.35;
        painter.setPen(QPen(QColor(90, 96, 104), std::max(1.5, panelWidth * 0.025)));
        painter.drawLine(QPointF(left + panelWidth * 0.25, bottom),
                         QPointF(left + panelWidth * 0.25, groundY));
        painter.drawLine(QPointF(left + panelWidth * 0.8, bottom - height * 0.2),
                         QPointF(left + panelWidth * 0.8, groundY));
        const QPolygonF face{QPointF(left, bottom), QPointF(left + panelWidth, bottom),
                             QPointF(left + panelWidth + lean, bottom - height),
                             QPointF(left + lean, bottom - height)};
        DrawPanel(painter, face, 6, 3, std::max(1.0, panelWidth * 0.012));
    }
}

void DrawTitle(QPainter& painter) {
    QFont title("Arial");
    title.setPixelSize(84);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(8, 24, 60, 120));
    painter.drawText(QPointF(64, 174), "Heliowatch");
    painter.setPen(Qt::white);
    painter.drawText(QPointF(60, 170), "Heliowatch");
    QFont subtitle("Arial");
    subtitle.setPixelSize(26);
    painter.setFont(subtitle);
    painter.setPen(QColor(230, 240, 255));
    painter.drawText(QPointF(64, 214), "Photovoltaic monitoring station");
}

QImage SplashPicture() {
    QImage picture(SPLASH_WIDTH, SPLASH_HEIGHT, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    DrawSky(painter);
    DrawSun(painter);
    DrawHill(painter, 450, 360, 300, QColor(96, 150, 74), QColor(150, 190, 110));
    DrawPanelRow(painter, 440, 70, 560, 5);
    DrawHill(painter, 560, 470, 420, QColor(46, 104, 48), QColor(92, 150, 70));
    DrawPanelRow(painter, 585, 150, 40, 5);
    DrawTitle(painter);
    return picture;
}

void DrawPaneIcon(QPainter& painter) {
    const QPointF sun(23, 9);
    DrawSunRays(painter, sun, 6.5, 9.0, 8, QPen(SUN_EDGE, 1.6, Qt::SolidLine, Qt::RoundCap));
    DrawSunDisc(painter, sun, 5.0);
    const QPolygonF face{QPointF(1.5, 29.5), QPointF(21.5, 29.5), QPointF(26.5, 15.5),
                         QPointF(6.5, 15.5)};
    DrawPanel(painter, face, 4, 3, 0.8);
}

void DrawAboutIcon(QPainter& painter) {
    QRadialGradient badge(QPointF(16, 12), 18);
    badge.setColorAt(0.0, QColor(120, 180, 240));
    badge.setColorAt(1.0, QColor(24, 62, 130));
    painter.setPen(QPen(QColor(12, 34, 80), 1.0));
    painter.setBrush(badge);
    painter.drawEllipse(QPointF(16, 16), 15, 15);
    const QPointF sun(16, 13);
    DrawSunRays(painter, sun, 7.5, 10.5, 12, QPen(SUN_CORE, 1.5, Qt::SolidLine, Qt::RoundCap));
    DrawSunDisc(painter, sun, 6.0);
    const QPolygonF face{QPointF(6, 27), QPointF(26, 27), QPointF(24, 21), QPointF(8, 21)};
    DrawPanel(painter, face, 5, 2, 0.7);
}

QIcon DrawIcon(const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / ICON_GRID, size / ICON_GRID);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
} // namespace

QImage Artwork::Bitmap(int resourceId) {
    return resourceId == IDB_SPLASH ? SplashPicture() : QImage();
}

QIcon Artwork::Icon(int resourceId) {
    switch (resourceId) {
    case IDI_PANE: return DrawIcon(DrawPaneIcon);
    case IDI_ABOUT: return DrawIcon(DrawAboutIcon);
    default: return QIcon();
    }
}
