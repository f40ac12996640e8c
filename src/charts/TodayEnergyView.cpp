#include "TodayEnergyView.h"

#include "store/HeliowatchDoc.h"
#include "widgets/StationPalette.h"

CTodayEnergyView::CTodayEnergyView(CHeliowatchDoc& document, QWidget* parent)
    : CDayChartView(document, "Today Energy", parent) {
    m_graph.SetAppearance(StationPalette::ENERGY_CURVE, "KWh", QString(), false);
}

double CTodayEnergyView::SampleValue() const {
    return Document().GetTotalEToday();
}

std::vector<CGraphSample> CTodayEnergyView::TodayFromHistory() const {
    const HistoryFollower* history = Document().History();
    if (history == nullptr) {
        return {};
    }
    return history->TodayPlantCurves(Document().GetInterval()).energy;
}
