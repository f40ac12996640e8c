#pragma once

#include "DrawGraph.h"

#include <QTimer>
#include <QWidget>
#include <vector>

class CHeliowatchDoc;

// A pane that samples one plant total of the document once per sampling
// interval into its own day chart and shows the chart over its whole area.
class CDayChartView : public QWidget {
    Q_OBJECT

public:
    ~CDayChartView() override;

    // Run once the view sits in its pane's frame: captions the frame, refills
    // the chart with today's samples from the history and arms the refresh
    // timer.
    void OnInitialUpdate();
    // One refresh tick: appends the total now, redraws, and re-arms the timer
    // when the sampling interval has changed since it was last armed here.
    void OnTimer();
    void OnIntervalChanged();

    const CDrawGraph& Graph() const { return m_graph; }
    bool IsTimerArmed() const { return m_timer.isActive(); }
    int TimerPeriod() const { return m_timer.interval(); } // ms

protected:
    CDayChartView(CHeliowatchDoc& document, const QString& caption, QWidget* parent);

    const CHeliowatchDoc& Document() const { return m_document; }
    virtual double SampleValue() const = 0;
    virtual std::vector<CGraphSample> TodayFromHistory() const = 0;

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
