#include "ChartImage.h"
#include "LocalTime.h"
#include "charts/DrawGraph.h"
#include "comm/CommShared.h"

#include <QImage>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>
#include <utility>

namespace {

const QColor CURVE(0, 0, 240);
constexpr int SECONDS_PER_DAY = 86'400;

// Noise from the second alone, so every run draws the same day.
double Noise(int second) {
    std::uint32_t bits = static_cast<std::uint32_t>(second) * 2654435761U;
    bits ^= bits >> 15;
    bits *= 2246822519U;
    bits ^= bits >> 13;
    return static_cast<double>(bits % 2001) / 1000.0 - 1.0; // -1 .. 1
}

// Clouds from 11:00 to 14:00 cut the power to 40 % and let it back in steps,
// each lasting 10 s to 5 min.
double Cloud(int second) {
    if (second < 11 * 3600 || second >= 14 * 3600) {
        return 1.0;
    }
    int edge = 11 * 3600;
    bool shaded = false;
    for (int step = 0; edge <= second; ++step) {
        edge += 10 + static_cast<int>((Noise(step * 7919) + 1.0) * 145);
        shaded = !shaded;
    }
    return shaded ? 0.4 : 1.0;
}

// A plant of about 5 kW awake from 06:00 to 20:00, a little noisy.
std::optional<double> Power(int second) {
    const double daylight = (second - 6 * 3600) / (14.0 * 3600);
    if (daylight < 0 || daylight > 1) {
        return std::nullopt;
    }
    return std::max(0.0, 5000 * std::sin(std::numbers::pi * daylight) * Cloud(second) +
                             15 * Noise(second));
}

// The topmost and lowest row of curve pixels in each column; -1 where none.
std::vector<std::pair<int, int>> CurveRows(const QImage& image) {
    std::vector<std::pair<int, int>> rows(static_cast<std::size_t>(image.width()), {-1, -1});
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == CURVE) {
                auto& [top, bottom] = rows[static_cast<std::size_t>(x)];
                top = top < 0 ? y : top;
                bottom = y;
            }
        }
    }
    return rows;
}

class DayCurveFidelityTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        savedInterval = g_nInterval;
        g_nInterval = 1;
        graph.SetAppearance(CURVE, "W", QString(), false);
    }
    void TearDown() override { g_nInterval = savedInterval; }

    int savedInterval = 2;
    CDrawGraph graph;
};

// A day at 1 s drawn from its minutes and last hour, against the same day
// drawn from every sample: each column of the curve covers the same rows, give
// or take one at either end.
TEST_P(DayCurveFidelityTest, TheBoundedDayDrawsAsEverySampleDoes) {
    const std::time_t midnight = LocalTime(2024, 6, 21, 0, 0, 0);
    CDaySeries bounded;
    CDaySeries everySample(SECONDS_PER_DAY);
    const int pauseFrom = 15 * 3600;
    const int pauseTo = pauseFrom + 300;
    for (int second = 0; second < 21 * 3600; ++second) {
        const std::optional<double> watts = Power(second);
        if (watts && (second < pauseFrom || second >= pauseTo)) {
            bounded.AddSample({midnight + second, *watts});
            everySample.AddSample({midnight + second, *watts});
        }
    }
    ASSERT_LE(bounded.Buckets().size(), 2'880U);
    ASSERT_EQ(everySample.Recent().size(), everySample.SampleCount());

    const QSize size(GetParam(), 360);
    const auto drawn = CurveRows(Render(graph, size, bounded));
    const auto expected = CurveRows(Render(graph, size, everySample));
    int same = 0;
    int offByTwo = 0;
    for (std::size_t x = 0; x < drawn.size(); ++x) {
        const auto [top, bottom] = drawn[x];
        const auto [expectedTop, expectedBottom] = expected[x];
        EXPECT_EQ(top < 0, expectedTop < 0) << "column " << x;
        const int off = std::max(std::abs(top - expectedTop), std::abs(bottom - expectedBottom));
        EXPECT_LE(off, 2) << "column " << x;
        same += off == 0 ? 1 : 0;
        offByTwo += off == 2 ? 1 : 0;
    }
    std::printf("%d px: %d of %zu columns identical, %d off by two\n", GetParam(), same,
                drawn.size(), offByTwo);
    EXPECT_LE(offByTwo * 500, static_cast<int>(drawn.size()));
}

INSTANTIATE_TEST_SUITE_P(PaneWidths, DayCurveFidelityTest, ::testing::Values(400, 800, 1600));

} // namespace
