#include "FieldContrast.h"
#include "gui/StatusIcons.h"
#include "widgets/StationPalette.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

using namespace StationPalette;

constexpr double GRAPHICS = 3.0;
constexpr double TEXT = 4.5;

TEST(PaletteContrast, CurvesNeedlesAndMarksStandOutAndTextReads) {
    const QPalette window = QApplication::palette();
    struct Pair {
        const char* what;
        QColor fore;
        QColor back;
        double least;
    };
    const Pair pairs[] = {
        {"power curve on the plot", POWER_CURVE, PLOT_BACKGROUND, GRAPHICS},
        {"energy curve on the plot", ENERGY_CURVE, PLOT_BACKGROUND, GRAPHICS},
        {"inverter curve on the plot", INVERTER_CURVE, PLOT_BACKGROUND, GRAPHICS},
        {"grid on the plot", GRID, PLOT_BACKGROUND, GRAPHICS},
        {"labels on the chart margin", CHART_TEXT, CHART_MARGIN, TEXT},
        {"needle on the gauge face", NEEDLE, window.color(QPalette::Button), GRAPHICS},
        {"needle on the band's green end", NEEDLE, QColor(0, 255, 0), GRAPHICS},
        {"needle on the band's red end", NEEDLE, QColor(255, 0, 0), GRAPHICS},
        {"readings not current", DIM_TEXT, window.color(QPalette::Base), TEXT},
        {"problems in the status bar", PROBLEM_TEXT, window.color(QPalette::Window), TEXT},
    };
    for (const Pair& pair : pairs) {
        EXPECT_GE(ContrastRatio(pair.fore, pair.back), pair.least) << pair.what;
    }
    for (const ConditionKind kind :
         {ConditionKind::Normal, ConditionKind::Fault, ConditionKind::Stale, ConditionKind::Offline,
          ConditionKind::Removing}) {
        EXPECT_GE(ContrastRatio(StatusIcons::Colour(kind), window.color(QPalette::Base)), GRAPHICS)
            << "status mark " << static_cast<int>(kind);
    }
}

// The colours that failed before, so that the check itself is known to bite.
TEST(PaletteContrast, TheOldPowerCurveAndWhiteNeedleWouldFail) {
    EXPECT_NEAR(ContrastRatio(QColor(0, 0, 240), PLOT_BACKGROUND), 1.79, 0.01);
    EXPECT_LT(ContrastRatio(Qt::white, QApplication::palette().color(QPalette::Button)), 1.2);
}

} // namespace
