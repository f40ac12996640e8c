#pragma once

#include "DrawGraph.h"

#include <QTimer>
#include <QWidget>

class CHeliowatchDoc;

// A pane that shows one of the plant's day curves, which every sample moves,
// over its whole area, redrawn once per sampling interval.
class CDayChartView : public QWidget {
    Q_OBJECT

public:
    ~CDayChartView() override;

    // Run once the view sits in its pane's frame: captions the frame and arms
    // the refresh timer.
    void OnInitialUpdate();
    // One refresh tick: redraws, and re-arms the timer when the sampling
    // interval has changed since it was last armed here.
    void OnTimer();
    void OnIntervalChanged();

    const CDrawGraph& Graph() const { return m_graph; }
    bool IsTimerArmed() const { return m_timer.isActive(); }
    int TimerPeriod() const { return m_timer.interval(); } // ms

protected:
    CDayChartView(CHeliowatchDoc& document, const QString& caption, QWidget* parent);

    // The one of the plant's curves the pane shows.
    virtual const CDaySeries& Curve(const CDaySeries& power, const CDaySeries& energy) const = 0;

    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

    CDrawGraph m_graph;

private:
    void ArmTimer();

    CHeliowatchDoc& m_document;
    QString m_caption;
    int m_nArmedInterval = 0;
    QTimer m_timer;
};
