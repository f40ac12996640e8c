#pragma once

#include "DayFacts.h"

// The day facts as the history summary file holds them, opened read-only
// for each question.
class SummaryDayFacts : public DayFacts {
public:
    explicit SummaryDayFacts(std::string summaryPath) : m_path(std::move(summaryPath)) {}

    Outcome<DayYields> Yields(int firstDay, int lastDay) override;
    Outcome<DayPeak> PlantPeak(int day) override;

private:
    std::string m_path;
};
