#include "PowerView.h"

#include "widgets/StationPalette.h"

CPowerView::CPowerView(CHeliowatchDoc& document, QWidget* parent)
    : CDayChartView(document, "Power", parent) {
    m_graph.SetAppearance(StationPalette::POWER_CURVE, "W", QString(), false);
}

const CDaySeries& CPowerView::Curve(const CDaySeries& power, const CDaySeries& /*energy*/) const {
    return power;
}
