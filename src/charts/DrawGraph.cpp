#include "DrawGraph.h"

#include "NiceScale.h"
#include "comm/CommShared.h"
#include "model/LocalDay.h"
#include "widgets/StationPalette.h"

#include <QFontMetrics>
#include <QImage>
#include <QLine>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int SECONDS_PER_DAY = 86'400;
constexpr int VALUE_STEPS = 20; // a label and grid line every second step
constexpr int SECONDS_PER_HOUR = 3600;
constexpr int LABEL_FONT_PIXELS = 11;

// Writes text with its cell's top-left corner at (x, y), in black.
void TextOut(QPainter& painter, int x, int y, const QString& text) {
    const QPen previous = painter.pen();
    painter.setPen(Qt::black);
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
    painter.setPen(previous);
}

QString WholeNumber(double value) {
    return QString::number(static_cast<std::int64_t>(value));
}

} // namespace

// Edges as in a device rectangle: right and bottom lie just outside.
struct CDrawGraph::Area {
    int left;
    int top;
    int right;
    int bottom;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    void Fill(QPainter& painter, const QBrush& brush) const {
        if (Width() > 0 && Height() > 0) {
            painter.fillRect(QRect(left, top, Width(), Height()), brush);
        }
    }
};

CDrawGraph::CDrawGraph()
    : m_framePen(QColor(128, 128, 128), 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin),
      m_gridPen(StationPalette::GRID, 1, Qt::DotLine, Qt::FlatCap),
      m_marginBrush(StationPalette::CHART_MARGIN), m_plotBrush(StationPalette::PLOT_BACKGROUND),
      m_verticalFont(LabelFont()) {}

QFont CDrawGraph::LabelFont() {
    QFont font("Arial");
    font.setPixelSize(LABEL_FONT_PIXELS);
    return font;
}

void CDrawGraph::SetAppearance(const QColor& curve, const QString& unit, const QString& title,
                               bool fourHourLabels) {
    m_crCurve = curve;
    m_strUnit = unit;
    m_strTitle = title;
    m_bFourHourLabels = fourHourLabels;
    m_curvePen = QPen(curve, 1, Qt::SolidLine, Qt::FlatCap);
}

void CDrawGraph::Draw(QPainter& target, const QRect& dest) {
    Draw(target, dest, m_series);
}

void CDrawGraph::Draw(QPainter& target, const QRect& dest, const CDaySeries& series) {
    if (dest.isEmpty()) {
        return;
    }
    QImage picture(dest.size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(LabelFont());

    double minimum = 0.0;
    m_dScaleMax = series.m_dMaxValue;
    NiceScaleMax(&minimum, &m_dScaleMax);

    Area area{0, 0, dest.width(), dest.height()};
    DrawMargins(painter, area);
    DrawGrid(painter, area);
    DrawCurve(painter, area, series);
    painter.end();
    target.drawImage(dest.topLeft(), picture);
}

void CDrawGraph::DrawMargins(QPainter& painter, Area& area) {
    area.Fill(painter, m_marginBrush);
    const QFontMetrics labels = painter.fontMetrics();
    const int hourWidth = labels.horizontalAdvance("00:00");
    const int labelHeight = labels.height();
    area.bottom -= 2 * labelHeight + 2;
    area.top += labelHeight + 2;
    area.right -= hourWidth / 2 + 2;

    DrawUnit(painter, area);
    area.left += QFontMetrics(m_verticalFont).height() + 7;

    const QString widest = m_dScaleMax < 1.01 ? "1.00" : " " + WholeNumber(m_dScaleMax);
    area.left += labels.horizontalAdvance(widest) + 2;
}

// The unit stands upright along the left edge, centred on the plot's height,
// reading bottom to top.
void CDrawGraph::DrawUnit(QPainter& painter, const Area& area) {
    const QFont labels = painter.font();
    painter.setFont(m_verticalFont);
    const int unitWidth = painter.fontMetrics().horizontalAdvance(m_strUnit);
    painter.save();
    painter.translate(5, area.top + area.Height() / 2 + unitWidth / 2);
    painter.rotate(-90);
    TextOut(painter, 0, 0, m_strUnit);
    painter.restore();
    painter.setFont(labels);
}

// Snaps the plot to 20 value steps and 48 half hours of whole pixels.
void CDrawGraph::DrawGrid(QPainter& painter, Area& area) const {
    area.top += area.Height() % VALUE_STEPS;
    area.right -= area.Width() % TimeSteps();
    area.Fill(painter, m_plotBrush);

    const QPen previous = painter.pen();
    painter.setPen(m_framePen);
    painter.drawLine(area.left, area.top, area.right, area.top);
    painter.drawLine(area.right, area.top, area.right, area.bottom);
    painter.drawLine(area.right, area.bottom, area.left, area.bottom);
    painter.drawLine(area.left, area.bottom, area.left, area.top);
    DrawValueAxis(painter, area);
    DrawTimeAxis(painter, area);
    painter.setPen(previous);
    DrawTitle(painter, area);
}

void CDrawGraph::DrawValueAxis(QPainter& painter, const Area& area) const {
    const QFontMetrics metrics = painter.fontMetrics();
    const bool fractional = m_dScaleMax < 1.01;
    const int dy = area.Height() / VALUE_STEPS;
    const double dv = m_dScaleMax / 10;
    double value = m_dScaleMax;
    for (int i = 0, y = area.top; i <= VALUE_STEPS; ++i, y += dy) {
        if (i % 2 != 0) {
            continue;
        }
        painter.setPen(m_framePen);
        painter.drawLine(area.left, y, area.left - 2, y);
        if (i > 0 && i < VALUE_STEPS) {
            painter.setPen(m_gridPen);
            painter.drawLine(area.left, y, area.right, y);
        }
        const QString label = fractional ? QString::asprintf("%0.1f", value) : WholeNumber(value);
        TextOut(painter, area.left - 3 - metrics.horizontalAdvance(label), y - metrics.height() / 2,
                label);
        value -= dv;
    }
}

void CDrawGraph::DrawTimeAxis(QPainter& painter, const Area& area) const {
    const QFontMetrics metrics = painter.fontMetrics();
    const int labelEvery = m_bFourHourLabels ? 8 : 4;
    const int steps = TimeSteps();
    const int dx = area.Width() / steps;
    for (int i = 0, x = area.left; i <= steps; ++i, x += dx) {
        if (i % 2 != 0) {
            continue;
        }
        painter.setPen(m_framePen);
        painter.drawLine(x, area.bottom, x, area.bottom + 2);
        if (i > 0 && i < steps) {
            painter.setPen(m_gridPen);
            painter.drawLine(x, area.bottom, x, area.top);
        }
        if (i % labelEvery == 0) {
            const QString label = HourLabel(i / 2);
            TextOut(painter, x - metrics.horizontalAdvance(label) / 2,
                    area.bottom + metrics.height() - 2, label);
        }
    }
}

// Half hours of the day.
int CDrawGraph::TimeSteps() const {
    return 2 * (m_dayAxis ? std::max(m_dayAxis->hours, 1) : 24);
}

QString CDrawGraph::HourLabel(int hour) const {
    if (!m_dayAxis) {
        return QString::asprintf("%02d:00", hour);
    }
    const std::time_t time = m_dayAxis->start + std::time_t{hour} * SECONDS_PER_HOUR;
    std::tm local{};
    localtime_r(&time, &local);
    return QString::asprintf("%02d:%02d", local.tm_hour, local.tm_min);
}

void CDrawGraph::DrawTitle(QPainter& painter, const Area& area) const {
    if (m_strTitle.isEmpty()) {
        return;
    }
    const QFontMetrics metrics = painter.fontMetrics();
    TextOut(painter, area.left + area.Width() / 2 - metrics.horizontalAdvance(m_strTitle) / 2,
            area.top - metrics.height() - 4, m_strTitle);
}

// Every sample is a pixel; consecutive samples at most three sampling
// intervals apart are joined, so a pause in polling leaves a gap. Minutes
// before the series' recent stretch come as their first, lowest, highest and
// last sample, which cover the pixels their samples would. All of the curve
// has one colour, so the pixels and lines are gathered and drawn in two
// calls, without repeats.
void CDrawGraph::DrawCurve(QPainter& painter, const Area& area, const CDaySeries& series) const {
    const int joinLimit =
        m_dayAxis && m_dayAxis->joinSeconds > 0 ? m_dayAxis->joinSeconds : 3 * g_nInterval;
    const std::int64_t daySeconds =
        m_dayAxis ? std::int64_t{TimeSteps()} * SECONDS_PER_HOUR / 2 : SECONDS_PER_DAY;
    CLocalDay localDay;
    std::vector<QPoint> pixels;
    std::vector<QLine> joins;
    QPoint previous;
    int previousSecond = 0;
    series.ForEachVertex([&](const CCurveVertex& vertex) {
        const int second = m_dayAxis ? static_cast<int>(vertex.m_time - m_dayAxis->start)
                                     : localDay.SecondOfDay(vertex.m_time);
        const QPoint point(
            static_cast<int>(area.left + std::int64_t{area.Width()} * second / daySeconds),
            area.bottom - static_cast<int>(area.Height() * vertex.m_dValue / m_dScaleMax));
        const int step =
            vertex.m_nStepWithin >= 0 ? vertex.m_nStepWithin : std::abs(second - previousSecond);
        const bool joined = !pixels.empty() && step <= joinLimit;
        if (joined && point != previous &&
            (joins.empty() || joins.back() != QLine(point, previous))) {
            joins.emplace_back(point, previous);
        }
        if (pixels.empty() || pixels.back() != point) {
            pixels.push_back(point);
        }
        previous = point;
        previousSecond = second;
    });
    const QPen pen = painter.pen();
    painter.setPen(m_curvePen);
    painter.drawPoints(pixels.data(), static_cast<int>(pixels.size()));
    painter.drawLines(joins.data(), static_cast<int>(joins.size()));
    painter.setPen(pen);
}
