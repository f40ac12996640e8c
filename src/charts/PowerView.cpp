#include "PowerView.h"

#include "store/HeliowatchDoc.h"
#include "widgets/StationPalette.h"

CPowerView::CPowerView(CHeliowatchDoc& document, QWidget* parent)
    : CDayChartView(document, "Power", parent) {
    m_graph.SetAppearance(StationPalette::POWER_CURVE, "W", QString(), false);
}

double CPowerView::SampleValue() const {
    return Document().GetTotalPower();
}

std::vector<CGraphSample> CPowerView::TodayFromHistory() const {
    const HistoryFollower* history = Document().History();
    if (history == nullptr) {
        return {};
    }
    return history->TodayPlantCurves(Document().GetInterval()).power;
}
