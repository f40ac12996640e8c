#include "ChartImage.h"

#include "charts/DrawGraph.h"

#include <QFontMetrics>
#include <QPainter>

ExpectedPlot::ExpectedPlot(QSize size, const QString& widestLabel) {
    const QFontMetrics labels(CDrawGraph::LabelFont());
    const int labelHeight = labels.height();
    left = labelHeight + 7 + labels.horizontalAdvance(widestLabel) + 2;
    top = labelHeight + 2;
    right = size.width() - labels.horizontalAdvance("00:00") / 2 - 2;
    bottom = size.height() - 2 * labelHeight - 2;
    top += Height() % 20;
    right -= Width() % 48;
}

QImage Render(CDrawGraph& graph, QSize size) {
    return Render(graph, size, graph.Series());
}

QImage Render(CDrawGraph& graph, QSize size, const CDaySeries& series) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    graph.Draw(painter, QRect(QPoint(0, 0), size), series);
    return image;
}

QColor PixelAt(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

namespace {

bool ShowsCell(const QImage& image, const QRect& cell, const QImage& expected) {
    return image.rect().contains(cell) && image.copy(cell) == expected;
}

QImage BlankCell(QSize size) {
    QImage cell(size, QImage::Format_RGB32);
    cell.fill(MARGIN_COLOUR);
    return cell;
}

} // namespace

bool ShowsText(const QImage& image, int x, int y, const QString& text) {
    const QFontMetrics metrics(CDrawGraph::LabelFont());
    QImage expected = BlankCell(QSize(metrics.horizontalAdvance(text), metrics.height()));
    QPainter painter(&expected);
    painter.setFont(CDrawGraph::LabelFont());
    painter.drawText(0, metrics.ascent(), text);
    painter.end();
    return ShowsCell(image, QRect(QPoint(x, y), expected.size()), expected);
}

bool ShowsUpwardText(const QImage& image, int x, int y, const QString& text) {
    const QFontMetrics metrics(CDrawGraph::LabelFont());
    const int length = metrics.horizontalAdvance(text);
    QImage expected = BlankCell(QSize(metrics.height(), length));
    QPainter painter(&expected);
    painter.setFont(CDrawGraph::LabelFont());
    painter.translate(0, length);
    painter.rotate(-90);
    painter.drawText(0, metrics.ascent(), text);
    painter.end();
    return ShowsCell(image, QRect(QPoint(x, y - length), expected.size()), expected);
}

bool HasPixelOtherThan(const QImage& image, const QRect& area, const QColor& colour) {
    return CountPixels(image, area, colour) != area.width() * area.height();
}

int CountPixels(const QImage& image, const QRect& area, const QColor& colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixelColor(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}
