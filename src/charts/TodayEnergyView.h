#pragma once

#include "DayChartView.h"

// The today energy pane: how the plant's energy of the day grows, in kWh.
class CTodayEnergyView : public CDayChartView {
    Q_OBJECT

public:
    explicit CTodayEnergyView(CHeliowatchDoc& document, QWidget* parent = nullptr);

protected:
    const CDaySeries& Curve(const CDaySeries& power, const CDaySeries& energy) const override;
};
