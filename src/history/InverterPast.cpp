#include "InverterPast.h"

#include "HistoryTail.h"
#include "SummaryReader.h"
#include "store/LocalCalendar.h"

#include <algorithm>

namespace {
std::time_t BucketStart(std::time_t time) {
    return std::time_t{CTimeBucket::IndexOf(time)} * CTimeBucket::SECONDS;
}

// The spans the summary holds of the day before `end`; where they end.
std::time_t AddSummarySpans(const PastSources& sources, const std::string& historyFileName,
                            const LocalCalendar::Day& day, std::time_t end, CDaySeries& series) {
    if (sources.summary == nullptr || sources.spansSince > day.start) {
        return day.start;
    }
    const auto reach = sources.summary->ReachOf(historyFileName);
    if (!reach || !*reach) {
        return day.start;
    }
    const std::time_t upTo = std::clamp(BucketStart((*reach)->lastTime), day.start, end);
    const auto rows = sources.summary->Spans((*reach)->source, day.start, upTo);
    if (!rows) {
        return day.start;
    }
    for (const SpanRow& row : *rows) {
        series.AddBucket(row.power);
    }
    return upTo;
}
} // namespace

CDaySeries ReadInverterPast(const PastSources& sources, const std::string& historyFileName,
                            std::time_t before) {
    LocalCalendar calendar;
    const LocalCalendar::Day day = calendar.Bounds(calendar.DayKeyOf(before));
    const std::time_t recentFrom =
        std::max(day.start, BucketStart(before) - CDaySeries::DETAIL_SECONDS);
    CDaySeries series;
    const std::time_t tailFrom = AddSummarySpans(sources, historyFileName, day, recentFrom, series);
    HistoryTail::Read(sources.histLogDirectory + "/" + historyFileName, tailFrom,
                      [&](const SummarySample& sample) {
                          if (sample.time < before) {
                              series.AddSample({sample.time, static_cast<double>(sample.powerW)});
                          }
                      });
    return series;
}
