#include "model/DaySeries.h"

#include "LocalTime.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

CGraphSample Sample(std::time_t time, double value) {
    return CGraphSample{time, value};
}

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* current = std::getenv("TZ")) {
            m_previous = current;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_previous) {
            setenv("TZ", m_previous->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

// Appends a sample every hour from firstHour on and counts the samples the
// series holds before the next day empties it.
int HoursBeforeTheSeriesEmpties(std::time_t firstHour) {
    CDaySeries series;
    for (int hour = 0; hour < 48; ++hour) {
        series.AddSample(Sample(firstHour + hour * 3600, 1));
        if (hour > 0 && series.SampleCount() == 1) {
            return hour;
        }
    }
    return -1;
}

TEST(DaySeries, NewDayOfTheMonthStartsAFreshSeries) {
    CDaySeries series;
    series.AddSample(Sample(LocalTime(2024, 3, 4, 0, 0, 0), 500));
    series.AddSample(Sample(LocalTime(2024, 3, 4, 12, 0, 0), 1200));
    series.AddSample(Sample(LocalTime(2024, 3, 4, 23, 59, 59), 800));
    ASSERT_EQ(series.SampleCount(), 3U);

    const std::time_t midnight = LocalTime(2024, 3, 5, 0, 0, 0);
    series.AddSample(Sample(midnight, 300));
    ASSERT_EQ(series.SampleCount(), 1U);
    EXPECT_EQ(series.FirstTime(), midnight);
    EXPECT_DOUBLE_EQ(series.m_dMaxValue, 300);
}

TEST(DaySeries, DaysWithAClockChangeEndAtTheirLocalMidnight) {
    {
        ScopedTimeZone berlin("Europe/Berlin");
        EXPECT_EQ(HoursBeforeTheSeriesEmpties(LocalTime(2024, 3, 31, 0, 0, 0)), 23);
        EXPECT_EQ(HoursBeforeTheSeriesEmpties(LocalTime(2024, 10, 27, 0, 0, 0)), 25);
    }
    {
        // Clocks go back from 24:00 to 23:00, and forward from 24:00 to 01:00.
        ScopedTimeZone santiago("America/Santiago");
        EXPECT_EQ(HoursBeforeTheSeriesEmpties(LocalTime(2024, 4, 6, 0, 0, 0)), 25);
        EXPECT_EQ(HoursBeforeTheSeriesEmpties(LocalTime(2024, 9, 8, 1, 0, 0)), 23);
    }
}

TEST(DaySeries, SameDayOfAnotherMonthOrYearStartsAFreshSeries) {
    const std::time_t later[] = {LocalTime(2024, 4, 4, 10, 0, 0), LocalTime(2025, 3, 4, 10, 0, 0)};
    for (const std::time_t time : later) {
        CDaySeries series;
        series.AddSample(Sample(LocalTime(2024, 3, 4, 10, 0, 0), 1200));
        series.AddSample(Sample(time, 700));
        ASSERT_EQ(series.SampleCount(), 1U);
        EXPECT_DOUBLE_EQ(series.m_dMaxValue, 700);
    }
}

TEST(DaySeries, MaximumOnlyGrowsAndIsReportedTruncated) {
    const std::time_t noon = LocalTime(2024, 6, 21, 12, 0, 0);
    CDaySeries series;
    for (double value : {500.0, 1200.0, 800.0}) {
        series.AddSample(Sample(noon, value));
    }
    EXPECT_DOUBLE_EQ(series.m_dMaxValue, 1200);

    CDaySeries fractional;
    fractional.AddSample(Sample(noon, 99.9));
    EXPECT_DOUBLE_EQ(fractional.GetMaxValue(), 99);

    CDaySeries negative;
    negative.AddSample(Sample(noon, -5));
    negative.AddSample(Sample(noon + 2, -0.5));
    EXPECT_EQ(negative.SampleCount(), 2U);
    EXPECT_DOUBLE_EQ(negative.m_dMaxValue, 0);
    EXPECT_DOUBLE_EQ(negative.GetMaxValue(), 0);
}

TEST(DaySeries, RemoveAllSamplesEmptiesAndResetsTheMaximum) {
    CDaySeries series;
    series.AddSample(Sample(LocalTime(2024, 3, 4, 10, 0, 0), 1200));
    series.RemoveAllSamples();
    EXPECT_TRUE(series.Empty());
    EXPECT_DOUBLE_EQ(series.m_dMaxValue, 0);

    series.AddSample(Sample(LocalTime(2024, 3, 9, 10, 0, 0), 40));
    series.AddSample(Sample(LocalTime(2024, 3, 9, 10, 0, 2), 30));
    EXPECT_EQ(series.SampleCount(), 2U);
    EXPECT_DOUBLE_EQ(series.m_dMaxValue, 40);
}

struct Vertex {
    std::time_t time;
    double value;
    int stepWithin;
    bool operator==(const Vertex&) const = default;
};

std::vector<Vertex> VerticesOf(const CDaySeries& series) {
    std::vector<Vertex> vertices;
    series.ForEachVertex([&](const CCurveVertex& vertex) {
        vertices.push_back({vertex.m_time, vertex.m_dValue, vertex.m_nStepWithin});
    });
    return vertices;
}

TEST(DaySeries, ABucketKeepsItsMeanAndTheShapeOfItsCurve) {
    const std::time_t start = LocalTime(2024, 6, 21, 10, 0, 0);
    CDaySeries series(0); // no recent stretch beyond the newest bucket
    for (const auto& [second, value] : {std::pair{5, 10.0}, {12, 30.0}, {25, 20.0}}) {
        series.AddSample(Sample(start + second, value));
    }
    series.AddSample(Sample(start + 30, 40.0));
    ASSERT_EQ(series.Buckets().size(), 2U);
    const CTimeBucket& first = series.Buckets().front();
    EXPECT_EQ(first.Start(), start);
    EXPECT_EQ(first.m_nCount, 3U);
    EXPECT_DOUBLE_EQ(first.Mean(), 20.0);
    EXPECT_DOUBLE_EQ(first.m_fMin, 10.0);
    EXPECT_DOUBLE_EQ(first.m_fMax, 30.0);
    EXPECT_EQ(first.m_nLongestStep, 13);
    EXPECT_EQ(first.m_nJumpFromSecond, 5);
    EXPECT_EQ(first.m_nJumpToSecond, 12);
    EXPECT_EQ(VerticesOf(series), (std::vector<Vertex>{{start + 5, 10.0, -1},
                                                       {start + 12, 30.0, 13},
                                                       {start + 25, 20.0, 13},
                                                       {start + 30, 40.0, -1}}));
}

TEST(DaySeries, ADayAtOneSecondKeepsEveryBucketAndTheLastHourWhole) {
    const std::time_t midnight = LocalTime(2024, 6, 21, 0, 0, 0);
    CDaySeries series;
    for (int second = 0; second < 86'400; ++second) {
        series.AddSample(Sample(midnight + second, second % 600));
    }
    EXPECT_EQ(series.SampleCount(), 86'400U);
    EXPECT_EQ(series.Buckets().size(), 2'880U);
    ASSERT_EQ(series.Recent().size(), 3'630U);
    EXPECT_EQ(series.Recent().front().m_time, LocalTime(2024, 6, 21, 22, 59, 30));
    EXPECT_DOUBLE_EQ(series.m_dMaxValue, 599);
    EXPECT_EQ(series.Latest()->m_time, midnight + 86'399);
}

TEST(DaySeries, SamplesOfOneSecondCountButDrawAsTheLast) {
    const std::time_t noon = LocalTime(2024, 6, 21, 12, 0, 0);
    CDaySeries series;
    series.AddSample(Sample(noon, 100));
    series.AddSample(Sample(noon, 300));
    EXPECT_EQ(series.SampleCount(), 2U);
    EXPECT_DOUBLE_EQ(series.Buckets().front().Mean(), 200);
    ASSERT_EQ(series.Recent().size(), 1U);
    EXPECT_DOUBLE_EQ(series.Recent().front().m_dValue, 300);
}

TEST(DaySeries, ThePastGoesInFrontAndASharedBucketJoins) {
    const std::time_t start = LocalTime(2024, 6, 21, 10, 0, 0);
    CDaySeries past;
    past.AddBucket(CTimeBucket::Of(start - 30, 500));
    past.AddSample(Sample(start + 5, 700));
    CDaySeries live;
    live.AddSample(Sample(start + 20, 600));
    live.AddSample(Sample(start + 35, 650));

    CDaySeries yesterday;
    yesterday.AddSample(Sample(start - 86'400, 50));
    live.Prepend(std::move(yesterday));
    EXPECT_EQ(live.SampleCount(), 2U);

    live.Prepend(std::move(past));
    EXPECT_EQ(live.SampleCount(), 4U);
    ASSERT_EQ(live.Buckets().size(), 3U);
    const CTimeBucket& shared = live.Buckets()[1];
    EXPECT_EQ(shared.m_nCount, 2U);
    EXPECT_EQ(shared.m_nFirstSecond, 5);
    EXPECT_EQ(shared.m_nLastSecond, 20);
    EXPECT_EQ(shared.m_nLongestStep, 15);
    EXPECT_DOUBLE_EQ(shared.m_fMax, 700);
    EXPECT_EQ(live.FirstTime(), start - 30);
    EXPECT_DOUBLE_EQ(live.m_dMaxValue, 700);

    live.KeepBefore(start + 10);
    EXPECT_EQ(live.Buckets().size(), 1U);
    EXPECT_DOUBLE_EQ(live.m_dMaxValue, 500);
}

} // namespace
