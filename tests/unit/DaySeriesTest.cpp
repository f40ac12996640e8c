#include "model/DaySeries.h"

#include "LocalTime.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <string>

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
        if (hour > 0 && series.m_samples.size() == 1) {
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
    ASSERT_EQ(series.m_samples.size(), 3U);

    const std::time_t midnight = LocalTime(2024, 3, 5, 0, 0, 0);
    series.AddSample(Sample(midnight, 300));
    ASSERT_EQ(series.m_samples.size(), 1U);
    EXPECT_EQ(series.m_samples.front().m_time, midnight);
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
        ASSERT_EQ(series.m_samples.size(), 1U);
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
    EXPECT_EQ(negative.m_samples.size(), 2U);
    EXPECT_DOUBLE_EQ(negative.m_dMaxValue, 0);
    EXPECT_DOUBLE_EQ(negative.GetMaxValue(), 0);
}

TEST(DaySeries, RemoveAllSamplesEmptiesAndResetsTheMaximum) {
    CDaySeries series;
    series.AddSample(Sample(LocalTime(2024, 3, 4, 10, 0, 0), 1200));
    series.RemoveAllSamples();
    EXPECT_TRUE(series.m_samples.empty());
    EXPECT_DOUBLE_EQ(series.m_dMaxValue, 0);

    series.AddSample(Sample(LocalTime(2024, 3, 9, 10, 0, 0), 40));
    series.AddSample(Sample(LocalTime(2024, 3, 9, 10, 0, 2), 30));
    EXPECT_EQ(series.m_samples.size(), 2U);
    EXPECT_DOUBLE_EQ(series.m_dMaxValue, 40);
}

} // namespace
