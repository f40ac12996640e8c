#include "charts/DrawGraph.h"

#include "ChartImage.h"
#include "LocalTime.h"
#include "comm/CommShared.h"

#include <QFontMetrics>
#include <QPainter>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

const QSize SIZE(1000, 600);
const QColor BLUE(0, 0, 240);

std::time_t At(int hour, int minute, int second) {
    return LocalTime(2024, 6, 4, hour, minute, second);
}

class DrawGraphTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedInterval = g_nInterval;
        g_nInterval = 2;
        graph.SetAppearance(BLUE, "W", QString(), false);
    }
    void TearDown() override { g_nInterval = savedInterval; }

    void Add(std::time_t time, double value) { graph.AddSample(CGraphSample{time, value}); }
    int TextWidth(const QString& text) const { return metrics.horizontalAdvance(text); }
    // The value label of every second step, from the scale top down to 0.
    void ExpectValueLabels(const QImage& image, const ExpectedPlot& plot,
                           const QStringList& labels) const {
        ASSERT_EQ(labels.size(), 11);
        for (int k = 0; k <= 10; ++k) {
            EXPECT_TRUE(ShowsText(image, plot.left - 3 - TextWidth(labels[k]),
                                  plot.ValueY(2 * k) - metrics.height() / 2, labels[k]))
                << labels[k].toStdString();
        }
    }
    bool ShowsHourLabel(const QImage& image, const ExpectedPlot& plot, int hour) const {
        const QString label = QString::asprintf("%02d:00", hour);
        return ShowsText(image, plot.HourX(2 * hour) - TextWidth(label) / 2,
                         plot.bottom + metrics.height() - 2, label);
    }

    void ExpectFrameMarginAndPlot(const QImage& image, const ExpectedPlot& plot) const {
        const int row = plot.ValueY(1); // no grid line on odd steps
        const int column = plot.HourX(1);
        const int width = image.width();
        const int height = image.height();
        for (const auto& [x, y] : {std::pair{plot.left - 1, row},
                                   {plot.left, row},
                                   {plot.right - 1, row},
                                   {plot.right, row},
                                   {column, plot.top - 1},
                                   {column, plot.top},
                                   {column, plot.bottom - 1},
                                   {column, plot.bottom},
                                   {plot.left - 1, plot.top - 1},
                                   {plot.right, plot.bottom}}) {
            EXPECT_EQ(PixelAt(image, x, y), FRAME_COLOUR) << x << "," << y << " of " << width;
        }
        for (const auto& [x, y] : {std::pair{plot.left + 1, row},
                                   {plot.right - 2, row},
                                   {column, plot.top + 1},
                                   {column, plot.bottom - 2}}) {
            EXPECT_EQ(PixelAt(image, x, y), PLOT_COLOUR) << x << "," << y << " of " << width;
        }
        for (const auto& [x, y] : {std::pair{plot.left - 2, row},
                                   {plot.right + 1, row},
                                   {column, plot.top - 2},
                                   {column, plot.bottom + 1},
                                   {0, 0},
                                   {width - 1, 0},
                                   {width - 1, height - 1},
                                   {0, height - 1}}) {
            EXPECT_EQ(PixelAt(image, x, y), MARGIN_COLOUR) << x << "," << y << " of " << width;
        }
    }

    int savedInterval = 2;
    CDrawGraph graph;
    QFontMetrics metrics{CDrawGraph::LabelFont()};
};

TEST_F(DrawGraphTest, EmptyChartHasScaleTopOneWithDecimalLabelsAndTheWholeDay) {
    const QImage image = Render(graph, SIZE);
    const ExpectedPlot plot(SIZE, "1.00");

    EXPECT_EQ(graph.ScaleMax(), 1.0);
    ExpectValueLabels(
        image, plot, {"1.0", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0.0"});
    for (int hour = 0; hour <= 24; hour += 2) {
        EXPECT_TRUE(ShowsHourLabel(image, plot, hour)) << hour;
    }
    EXPECT_TRUE(ShowsUpwardText(image, 5, plot.top + plot.Height() / 2 + TextWidth("W") / 2, "W"));
    EXPECT_EQ(CountPixels(image, image.rect(), BLUE), 0);
}

TEST_F(DrawGraphTest, SamplesOfZeroKeepTheScaleTopOneAndLieOnTheBottomEdge) {
    for (std::time_t t = At(10, 0, 0); t <= At(10, 30, 0); t += 2) {
        Add(t, 0.0);
    }
    const QImage image = Render(graph, SIZE);
    const ExpectedPlot plot(SIZE, "1.00");

    EXPECT_EQ(graph.ScaleMax(), 1.0);
    const QRect bottomEdge(QPoint(plot.HourX(20), plot.bottom),
                           QPoint(plot.HourX(21), plot.bottom));
    EXPECT_EQ(CountPixels(image, bottomEdge, BLUE), bottomEdge.width());
    EXPECT_EQ(PixelAt(image, plot.HourX(20) + 1, plot.bottom - 1), FRAME_COLOUR);
}

TEST_F(DrawGraphTest, FrameMarginAndPlotLandOnTheSnappedEdges) {
    // 969 x 600 leaves nothing to snap away; 1013 x 617 snaps in both directions.
    for (const QSize size : {SIZE, QSize(969, 600), QSize(1013, 617)}) {
        ExpectFrameMarginAndPlot(Render(graph, size), ExpectedPlot(size, "1.00"));
    }
}

TEST_F(DrawGraphTest, DottedGridLinesAndTicksComeAtEverySecondStep) {
    const QImage image = Render(graph, SIZE);
    const ExpectedPlot plot(SIZE, "1.00");
    // Between two vertical grid lines, away from the horizontal ones.
    const int left = plot.HourX(2) + 1;
    const int right = plot.HourX(4) - 1;
    for (int k = 1; k <= 9; ++k) {
        const int y = plot.ValueY(2 * k);
        const QRect line(QPoint(plot.left + 1, y), QPoint(plot.right - 2, y));
        EXPECT_GT(CountPixels(image, line, GRID_COLOUR), line.width() / 4) << k;
        EXPECT_EQ(CountPixels(image, QRect(QPoint(left, y + 1), QPoint(right, y + 1)), PLOT_COLOUR),
                  right - left + 1);
        EXPECT_EQ(CountPixels(image, QRect(QPoint(left, y - 1), QPoint(right, y - 1)), PLOT_COLOUR),
                  right - left + 1);
        EXPECT_EQ(PixelAt(image, plot.left - 3, y), FRAME_COLOUR);
        EXPECT_EQ(PixelAt(image, plot.left - 2, y - 1), FRAME_COLOUR);
        EXPECT_EQ(PixelAt(image, plot.left - 3, plot.ValueY(2 * k - 1)), MARGIN_COLOUR);
    }
    const int top = plot.ValueY(2) + 1;
    const int bottom = plot.ValueY(4) - 1;
    for (int k = 1; k <= 23; ++k) {
        const int x = plot.HourX(2 * k);
        const QRect line(QPoint(x, plot.top + 1), QPoint(x, plot.bottom - 2));
        EXPECT_GT(CountPixels(image, line, GRID_COLOUR), line.height() / 4) << k;
        EXPECT_EQ(CountPixels(image, QRect(QPoint(x + 1, top), QPoint(x + 1, bottom)), PLOT_COLOUR),
                  bottom - top + 1);
        EXPECT_EQ(PixelAt(image, x, plot.bottom + 2), FRAME_COLOUR);
        EXPECT_EQ(PixelAt(image, x - 1, plot.bottom + 1), FRAME_COLOUR);
        EXPECT_EQ(PixelAt(image, x, plot.bottom + 3), MARGIN_COLOUR);
        EXPECT_EQ(PixelAt(image, plot.HourX(2 * k - 1), plot.bottom + 2), MARGIN_COLOUR);
    }
}

TEST_F(DrawGraphTest, MaximumOfOneGivesScaleTopTenWithWholeLabels) {
    Add(At(12, 0, 0), 1.0);
    const QImage image = Render(graph, SIZE);

    EXPECT_EQ(graph.ScaleMax(), 10.0);
    ExpectValueLabels(image, ExpectedPlot(SIZE, " 10"),
                      {"10", "9", "8", "7", "6", "5", "4", "3", "2", "1", "0"});
}

TEST_F(DrawGraphTest, MaximumOf2345WattsGivesScaleTop3000) {
    Add(At(12, 0, 0), 2345.0);
    const QImage image = Render(graph, SIZE);

    EXPECT_EQ(graph.ScaleMax(), 3000.0);
    ExpectValueLabels(
        image, ExpectedPlot(SIZE, " 3000"),
        {"3000", "2700", "2400", "2100", "1800", "1500", "1200", "900", "600", "300", "0"});
}

TEST_F(DrawGraphTest, SampleTimesSpanTheDayFromTheLeftEdgeToJustShortOfTheRight) {
    Add(At(0, 0, 0), 500.0);
    Add(At(12, 0, 0), 1000.0);
    Add(At(23, 59, 59), 500.0);
    const QImage image = Render(graph, SIZE);
    const ExpectedPlot plot(SIZE, " 1000");
    const int half = plot.bottom - plot.Height() / 2;

    EXPECT_EQ(PixelAt(image, plot.left, half), BLUE);
    EXPECT_EQ(PixelAt(image, plot.HourX(24), plot.top), BLUE);
    EXPECT_EQ(PixelAt(image, plot.right - 1, half), BLUE);
    EXPECT_EQ(PixelAt(image, plot.right, half), FRAME_COLOUR);
    EXPECT_EQ(CountPixels(image, image.rect(), BLUE), 3) << "isolated samples are single pixels";
}

struct JoinCase {
    int interval;
    int secondsApart;
    bool joined;
};

class DrawGraphJoinTest : public DrawGraphTest, public ::testing::WithParamInterface<JoinCase> {};

TEST_P(DrawGraphJoinTest, SamplesUpToThreeIntervalsApartAreJoined) {
    const JoinCase join = GetParam();
    g_nInterval = join.interval;
    Add(At(6, 30, 0), 250.0);
    Add(At(6, 30, 0) + join.secondsApart, 1000.0);
    const QImage image = Render(graph, SIZE);
    const ExpectedPlot plot(SIZE, " 1000");
    const QPoint from(plot.HourX(13), plot.bottom - plot.Height() / 4);
    const int to = plot.left + plot.Width() * (6 * 3600 + 1800 + join.secondsApart) / 86400;
    ASSERT_EQ(PixelAt(image, from.x(), from.y()), BLUE);
    ASSERT_EQ(PixelAt(image, to, plot.top), BLUE);

    const int between = CountPixels(image, image.rect(), BLUE) - 2;
    if (!join.joined) {
        EXPECT_EQ(between, 0);
    } else if (to == from.x()) {
        EXPECT_EQ(between, from.y() - plot.top - 1);
    } else {
        EXPECT_GE(between, std::max(to - from.x(), from.y() - plot.top) - 1);
    }
}

std::string JoinCaseName(const ::testing::TestParamInfo<JoinCase>& info) {
    const JoinCase& join = info.param;
    return "Every" + std::to_string(join.interval) + "s_" + (join.secondsApart < 0 ? "Back" : "") +
           std::to_string(std::abs(join.secondsApart)) + "sApart";
}

INSTANTIATE_TEST_SUITE_P(Intervals, DrawGraphJoinTest,
                         ::testing::Values(JoinCase{2, 6, true}, JoinCase{2, 7, false},
                                           JoinCase{600, 1800, true}, JoinCase{600, 1801, false},
                                           JoinCase{600, -1800, true}),
                         JoinCaseName);

TEST_F(DrawGraphTest, TitleIsCentredFourPixelsAboveThePlot) {
    const QSize size(1000, 610); // leaves the snapped plot room above for the title
    graph.SetAppearance(QColor(255, 0, 0), "W", "Output power", true);
    const ExpectedPlot plot(size, "1.00");
    const QImage image = Render(graph, size);

    EXPECT_TRUE(ShowsText(image, plot.left + plot.Width() / 2 - TextWidth("Output power") / 2,
                          plot.top - metrics.height() - 4, "Output power"));
}

TEST_F(DrawGraphTest, WithoutTitleTheMarginAbovePlotStaysEmpty) {
    const QSize size(1000, 610);
    const ExpectedPlot plot(size, "1.00");
    const QImage image = Render(graph, size);

    EXPECT_FALSE(HasPixelOtherThan(
        image, QRect(QPoint(plot.left, 0), QPoint(plot.right - 1, plot.top - 2)), MARGIN_COLOUR));
}

TEST_F(DrawGraphTest, FourHourLabelsLeaveOutTheHoursBetween) {
    graph.SetAppearance(BLUE, "W", QString(), true);
    const QImage image = Render(graph, SIZE);
    const ExpectedPlot plot(SIZE, "1.00");

    for (int hour = 0; hour <= 24; hour += 4) {
        EXPECT_TRUE(ShowsHourLabel(image, plot, hour)) << hour;
    }
    const QRect between(QPoint(plot.HourX(2) - TextWidth("02:00") / 2, plot.bottom + 3),
                        QPoint(plot.HourX(2) + TextWidth("02:00") / 2, SIZE.height() - 1));
    EXPECT_FALSE(HasPixelOtherThan(image, between, MARGIN_COLOUR));
}

TEST_F(DrawGraphTest, UnitStandsUprightCentredOnThePlot) {
    graph.SetAppearance(QColor(0, 240, 0), "KWh", QString(), false);
    const QImage image = Render(graph, SIZE);
    const ExpectedPlot plot(SIZE, "1.00");

    EXPECT_TRUE(
        ShowsUpwardText(image, 5, plot.top + plot.Height() / 2 + TextWidth("KWh") / 2, "KWh"));
    EXPECT_GT(TextWidth("KWh"), metrics.height()) << "the text runs along the edge";
}

TEST_F(DrawGraphTest, PictureIsCopiedIntoTheDestinationOnly) {
    Add(At(9, 0, 0), 700.0);
    QImage target(1100, 700, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    const QRect dest(QPoint(50, 40), SIZE);
    graph.Draw(painter, dest);
    painter.end();

    EXPECT_EQ(target.copy(dest), Render(graph, SIZE));
    EXPECT_EQ(CountPixels(target, target.rect(), Qt::white),
              target.width() * target.height() - SIZE.width() * SIZE.height());
}

TEST_F(DrawGraphTest, GivenSeriesIsDrawnInsteadOfTheChartsOwn) {
    Add(At(9, 0, 0), 20.0);
    CDaySeries inverterSeries;
    inverterSeries.AddSample(CGraphSample{At(9, 0, 0), 2345.0});
    inverterSeries.AddSample(CGraphSample{At(15, 0, 0), 100.0});

    const QImage image = Render(graph, SIZE, inverterSeries);
    EXPECT_EQ(graph.ScaleMax(), 3000.0);
    EXPECT_EQ(CountPixels(image, image.rect(), BLUE), 2);

    Render(graph, SIZE);
    EXPECT_EQ(graph.ScaleMax(), 20.0);
    EXPECT_EQ(graph.GetMaxValue(), 20.0);
    graph.RemoveAllSamples();
    EXPECT_TRUE(graph.Series().Empty());
}

TEST_F(DrawGraphTest, DestinationsTooSmallForAPlotDrawWithoutHarm) {
    Add(At(9, 0, 0), 700.0);
    for (const QSize size : {QSize(1, 1), QSize(20, 30), QSize(60, 40)}) {
        const QImage image = Render(graph, size);
        EXPECT_EQ(image.size(), size);
    }
}

} // namespace
