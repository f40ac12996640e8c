#include "TodayEnergyView.h"

#include "widgets/StationPalette.h"

CTodayEnergyView::CTodayEnergyView(CHeliowatchDoc& document, QWidget* parent)
    : CDayChartView(document, "Today Energy", parent) {
    m_graph.SetAppearance(StationPalette::ENERGY_CURVE, "KWh", QString(), false);
}

const CDaySeries& CTodayEnergyView::Curve(const CDaySeries& /*power*/,
                                          const CDaySeries& energy) const {
    return energy;
}
