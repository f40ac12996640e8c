#pragma once

#include "BarChart.h"
#include "DrawGraph.h"

#include <QImage>
#include <QWidget>

// Shows one chart of the history: a day's curve or a period's bars.
class CHistoryChartView : public QWidget {
    Q_OBJECT

public:
    explicit CHistoryChartView(QWidget* parent = nullptr);

    void ShowCurve(const CDaySeries& series, const CDrawGraph::DayAxis& axis, const QColor& colour,
                   const QString& unit);
    void ShowBars(std::vector<BarChart::Bar> bars, const QColor& colour, const QString& unit);

    bool ShowsBars() const { return m_bShowsBars; }
    const BarChart& Bars() const { return m_bars; }
    const CDaySeries& Curve() const { return m_series; }
    // The chart as it is drawn now, for saving.
    QImage Picture();

signals:
    void barClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Render(QPainter& painter);

    CDrawGraph m_graph;
    CDaySeries m_series;
    BarChart m_bars;
    bool m_bShowsBars = false;
};
