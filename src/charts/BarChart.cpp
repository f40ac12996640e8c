#include "BarChart.h"

#include "DrawGraph.h"
#include "NiceScale.h"
#include "widgets/StationPalette.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {
constexpr int VALUE_STEPS = 10;
const QColor MARGIN = StationPalette::CHART_MARGIN;
const QColor PLOT = StationPalette::PLOT_BACKGROUND;
const QColor FRAME(128, 128, 128);
const QColor GRID = StationPalette::GRID;

void BlackText(QPainter& painter, int x, int top, const QString& text) {
    painter.setPen(Qt::black);
    painter.drawText(x, top + painter.fontMetrics().ascent(), text);
}

QString ValueLabel(double value, bool fractional) {
    return fractional ? QString::asprintf("%0.1f", value)
                      : QString::number(static_cast<long long>(value));
}
} // namespace

void BarChart::SetAppearance(const QColor& bar, const QString& unit) {
    m_crBar = bar;
    m_strUnit = unit;
}

void BarChart::Draw(QPainter& target, const QRect& dest) {
    if (dest.isEmpty()) {
        return;
    }
    QImage picture(dest.size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFont labels = CDrawGraph::LabelFont();
    painter.setFont(labels);
    picture.fill(MARGIN);

    double minimum = 0.0;
    m_dScaleMax = 0.0;
    for (const Bar& bar : m_bars) {
        m_dScaleMax = std::max(m_dScaleMax, bar.value);
    }
    NiceScaleMax(&minimum, &m_dScaleMax);

    const QFontMetrics metrics(labels);
    const bool fractional = m_dScaleMax < 1.01;
    const int valueWidth = metrics.horizontalAdvance(ValueLabel(m_dScaleMax, fractional) + " ");
    m_plot.left = metrics.height() + 7 + valueWidth + 2;
    m_plot.top = metrics.height() + 2;
    m_plot.right = dest.width() - metrics.height();
    m_plot.bottom = dest.height() - 2 * metrics.height() - 2;
    m_plot.top += (m_plot.bottom - m_plot.top) % VALUE_STEPS;

    painter.save();
    painter.translate(5,
                      (m_plot.top + m_plot.bottom) / 2 + metrics.horizontalAdvance(m_strUnit) / 2);
    painter.rotate(-90);
    BlackText(painter, 0, 0, m_strUnit);
    painter.restore();

    if (m_plot.right > m_plot.left && m_plot.bottom > m_plot.top) {
        painter.fillRect(
            QRect(QPoint(m_plot.left, m_plot.top), QPoint(m_plot.right, m_plot.bottom)), PLOT);
        DrawValueAxis(painter);
        DrawBars(painter);
        painter.setPen(QPen(FRAME, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(
            QRect(QPoint(m_plot.left, m_plot.top), QPoint(m_plot.right, m_plot.bottom)));
    }
    painter.end();
    target.drawImage(dest.topLeft(), picture);
}

void BarChart::DrawValueAxis(QPainter& painter) const {
    const QFontMetrics metrics = painter.fontMetrics();
    const bool fractional = m_dScaleMax < 1.01;
    const int dy = (m_plot.bottom - m_plot.top) / VALUE_STEPS;
    for (int i = 0; i <= VALUE_STEPS; ++i) {
        const int y = m_plot.top + i * dy;
        if (i > 0 && i < VALUE_STEPS) {
            painter.setPen(QPen(GRID, 1, Qt::DotLine, Qt::FlatCap));
            painter.drawLine(m_plot.left, y, m_plot.right, y);
        }
        const QString label = ValueLabel(m_dScaleMax * (VALUE_STEPS - i) / VALUE_STEPS, fractional);
        BlackText(painter, m_plot.left - 3 - metrics.horizontalAdvance(label),
                  y - metrics.height() / 2, label);
    }
}

// Each bar takes the middle of its slot; labels are left out where they
// would run into the previous one.
void BarChart::DrawBars(QPainter& painter) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int count = static_cast<int>(m_bars.size());
    m_barRects.assign(m_bars.size(), QRect());
    m_nSlot = count > 0 ? (m_plot.right - m_plot.left) / count : 0;
    const int height = m_plot.bottom - m_plot.top;
    int labelEnd = m_plot.left - metrics.horizontalAdvance(' ');
    for (int i = 0; i < count && m_nSlot > 0; ++i) {
        const Bar& bar = m_bars[static_cast<std::size_t>(i)];
        const int slotLeft = m_plot.left + i * m_nSlot;
        const int barHeight = static_cast<int>(height * std::max(bar.value, 0.0) / m_dScaleMax);
        if (barHeight > 0) {
            const int margin = std::max(1, m_nSlot / 6);
            const QRect rect(slotLeft + margin, m_plot.bottom - barHeight, m_nSlot - 2 * margin,
                             barHeight);
            painter.fillRect(rect, m_crBar);
            m_barRects[static_cast<std::size_t>(i)] = rect;
        }
        const int labelWidth = metrics.horizontalAdvance(bar.label);
        const int labelLeft = slotLeft + m_nSlot / 2 - labelWidth / 2;
        if (labelLeft > labelEnd) {
            BlackText(painter, labelLeft, m_plot.bottom + 3, bar.label);
            labelEnd = labelLeft + labelWidth + metrics.horizontalAdvance(' ');
        }
    }
}

QRect BarChart::BarRect(int index) const {
    return index >= 0 && index < static_cast<int>(m_barRects.size())
               ? m_barRects[static_cast<std::size_t>(index)]
               : QRect();
}

int BarChart::BarAt(int x) const {
    if (m_nSlot <= 0 || x < m_plot.left) {
        return -1;
    }
    const int index = (x - m_plot.left) / m_nSlot;
    return index < static_cast<int>(m_bars.size()) ? index : -1;
}
