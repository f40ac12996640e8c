#pragma once

#include <QColor>

// The colours the station draws with, in one place so that their contrast
// can be checked: curves and needles at least 3:1 against what they are drawn
// on, text at least 4.5:1.
namespace StationPalette {
inline const QColor PLOT_BACKGROUND(30, 30, 30);
inline const QColor CHART_MARGIN(195, 195, 195);
inline const QColor CHART_TEXT(0, 0, 0);
inline const QColor GRID(255, 255, 100);
inline const QColor POWER_CURVE(90, 160, 255);
inline const QColor ENERGY_CURVE(0, 240, 0);
inline const QColor INVERTER_CURVE(255, 60, 60);
// On the gauge's face, the window's button colour, and across its green to
// red band.
inline const QColor NEEDLE(20, 20, 110);
// Readings that are not current, on the list's white base.
inline const QColor DIM_TEXT(96, 96, 96);
inline const QColor PROBLEM_TEXT(160, 0, 0);
} // namespace StationPalette
