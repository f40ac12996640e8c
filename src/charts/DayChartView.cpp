#include "DayChartView.h"

#include "comm/WindowMessages.h"
#include "store/HeliowatchDoc.h"
#include "widgets/WindowMessageEvent.h"

#include <QMdiSubWindow>
#include <QPainter>

CDayChartView::CDayChartView(CHeliowatchDoc& document, const QString& caption, QWidget* parent)
    : QWidget(parent), m_document(document), m_caption(caption) {
    // The chart covers every pixel: no background erase, no flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_timer, &QTimer::timeout, this, &CDayChartView::OnTimer);
}

CDayChartView::~CDayChartView() = default;

void CDayChartView::OnInitialUpdate() {
    setWindowTitle(m_caption);
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        frame->setWindowTitle(m_caption);
    }
    ArmTimer();
}

void CDayChartView::OnTimer() {
    update();
    if (m_nArmedInterval != m_document.GetInterval()) {
        m_nArmedInterval = m_document.GetInterval();
        ArmTimer();
    }
}

void CDayChartView::OnIntervalChanged() {
    ArmTimer();
}

void CDayChartView::ArmTimer() {
    m_timer.start(m_document.GetInterval() * 1000);
}

bool CDayChartView::event(QEvent* event) {
    if (event->type() == WindowMessageEvent::EventType()) {
        if (static_cast<WindowMessageEvent*>(event)->Message() == WM_INTERVAL_CHANGED) {
            OnIntervalChanged();
        }
        return true;
    }
    return QWidget::event(event);
}

void CDayChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_document.PlantCurves().Read([&](const CDaySeries& power, const CDaySeries& energy) {
        m_graph.Draw(painter, rect(), Curve(power, energy));
    });
}
