#pragma once

#include "DayChartView.h"

// The power pane: the plant's total output power over the day, in W.
class CPowerView : public CDayChartView {
    Q_OBJECT

public:
    explicit CPowerView(CHeliowatchDoc& document, QWidget* parent = nullptr);

protected:
    const CDaySeries& Curve(const CDaySeries& power, const CDaySeries& energy) const override;
};
