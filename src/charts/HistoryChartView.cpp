#include "HistoryChartView.h"

#include <QMouseEvent>
#include <QPainter>

CHistoryChartView::CHistoryChartView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CHistoryChartView::ShowCurve(const CDaySeries& series, const CDrawGraph::DayAxis& axis,
                                  const QColor& colour, const QString& unit) {
    m_series = series;
    m_graph.SetAppearance(colour, unit, QString(), false);
    m_graph.SetDayAxis(axis);
    m_bShowsBars = false;
    update();
}

void CHistoryChartView::ShowBars(std::vector<BarChart::Bar> bars, const QColor& colour,
                                 const QString& unit) {
    m_bars.SetAppearance(colour, unit);
    m_bars.SetBars(std::move(bars));
    m_bShowsBars = true;
    update();
}

QImage CHistoryChartView::Picture() {
    QImage picture(size(), QImage::Format_RGB32);
    QPainter painter(&picture);
    Render(painter);
    return picture;
}

void CHistoryChartView::Render(QPainter& painter) {
    if (m_bShowsBars) {
        m_bars.Draw(painter, rect());
    } else {
        m_graph.Draw(painter, rect(), m_series);
    }
}

void CHistoryChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Render(painter);
}

void CHistoryChartView::mousePressEvent(QMouseEvent* event) {
    if (m_bShowsBars && event->button() == Qt::LeftButton) {
        const int index = m_bars.BarAt(event->position().toPoint().x());
        if (index >= 0) {
            emit barClicked(index);
        }
    }
    QWidget::mousePressEvent(event);
}
