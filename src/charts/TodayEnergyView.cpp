#include "TodayEnergyView.h"

CTodayEnergyView::CTodayEnergyView(CHeliowatchDoc& document, QWidget* parent)
    : CDayChartView(document, "Today Energy", parent) {
    m_graph.SetAppearance(QColor(0, 240, 0), "KWh", QString(), false);
}

const CDaySeries& CTodayEnergyView::Curve(const CDaySeries& /*power*/,
                                          const CDaySeries& energy) const {
    return energy;
}
