#include "StatusIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <map>

namespace {
QPainterPath Disc(const QRectF& box) {
    QPainterPath path;
    path.addEllipse(box);
    return path;
}

QPainterPath Triangle(const QRectF& box) {
    QPainterPath path;
    path.moveTo(box.center().x(), box.top());
    path.lineTo(box.bottomRight());
    path.lineTo(box.bottomLeft());
    path.closeSubpath();
    return path;
}

QPainterPath Diamond(const QRectF& box) {
    QPainterPath path;
    path.moveTo(box.center().x(), box.top());
    path.lineTo(box.right(), box.center().y());
    path.lineTo(box.center().x(), box.bottom());
    path.lineTo(box.left(), box.center().y());
    path.closeSubpath();
    return path;
}

QPainterPath Square(const QRectF& box) {
    QPainterPath path;
    const qreal inset = box.width() / 8;
    path.addRect(box.adjusted(inset, inset, -inset, -inset));
    return path;
}

QPainterPath Cross(const QRectF& box) {
    const qreal arm = box.width() / 7;
    QPainterPath bar;
    bar.addRect(QRectF(-arm, -box.width() / 2, 2 * arm, box.width()));
    QTransform turn;
    turn.translate(box.center().x(), box.center().y());
    QPainterPath path = turn.rotate(45).map(bar);
    return path.united(turn.rotate(90).map(bar));
}

QPainterPath Shape(ConditionKind kind, const QRectF& box) {
    switch (kind) {
    case ConditionKind::Normal: return Disc(box);
    case ConditionKind::Fault: return Triangle(box);
    case ConditionKind::Stale:
    case ConditionKind::PortLost: return Diamond(box);
    case ConditionKind::Offline: return Square(box);
    case ConditionKind::Removing: return Cross(box);
    }
    return {};
}

// The exclamation mark of the warning triangle, in its lower two thirds.
void DrawExclamation(QPainter& painter, const QRectF& box) {
    const qreal width = box.width() / 8;
    const qreal x = box.center().x() - width / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(x, box.top() + box.height() * 0.36, width, box.height() * 0.33));
    painter.drawRect(QRectF(x, box.top() + box.height() * 0.76, width, width));
}
} // namespace

QColor StatusIcons::Colour(ConditionKind kind) {
    switch (kind) {
    case ConditionKind::Normal: return QColor(20, 170, 40);
    case ConditionKind::Fault: return QColor(210, 30, 30);
    case ConditionKind::Stale:
    case ConditionKind::PortLost: return QColor(200, 120, 0);
    case ConditionKind::Offline: return QColor(140, 140, 140);
    case ConditionKind::Removing: return QColor(90, 90, 90);
    }
    return QColor(Qt::transparent);
}

QPixmap StatusIcons::Pixmap(ConditionKind kind, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // One pixel of margin at 16 px keeps the rim clear of the grid lines.
    const qreal rim = size / 16.0;
    const QRectF box = QRectF(0, 0, size, size).adjusted(rim, rim, -rim, -rim);
    const QColor colour = Colour(kind);
    // Lit from the upper left, so the marks read as lamps.
    QRadialGradient light(box.center(), box.width() / 2, box.topLeft() + QPointF(size, size) / 3);
    light.setColorAt(0.0, colour.lighter(150));
    light.setColorAt(0.6, colour);
    light.setColorAt(1.0, colour.darker(130));
    painter.setBrush(light);
    painter.setPen(QPen(colour.darker(190), rim));
    painter.drawPath(Shape(kind, box));
    if (kind == ConditionKind::Fault) {
        DrawExclamation(painter, box);
    }
    return pixmap;
}

// Drawn once per kind: every row is shown again each second.
QIcon StatusIcons::Icon(ConditionKind kind) {
    static std::map<ConditionKind, QIcon> drawn;
    QIcon& icon = drawn[kind];
    if (icon.isNull()) {
        icon.addPixmap(Pixmap(kind, LIST_SIZE));
        icon.addPixmap(Pixmap(kind, STANDARD_SIZE));
    }
    return icon;
}
