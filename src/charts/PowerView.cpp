#include "PowerView.h"

CPowerView::CPowerView(CHeliowatchDoc& document, QWidget* parent)
    : CDayChartView(document, "Power", parent) {
    m_graph.SetAppearance(QColor(0, 0, 240), "W", QString(), false);
}

const CDaySeries& CPowerView::Curve(const CDaySeries& power, const CDaySeries& /*energy*/) const {
    return power;
}
