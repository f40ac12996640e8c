#pragma once

#include "DayFacts.h"

// The day facts as the history summary file holds them, opened read-only
// for each question.
class SummaryDayFacts : public DayFacts {
public:
    explicit SummaryDayFacts(std::string summaryPath) : m_path(std::move(summaryPath)) {}

    std::optional<DayYields> Yields(int firstDay, int lastDay, std::string& problem) override;
    std::optional<DayPeak> PlantPeak(int day, std::string& problem) override;

private:
    std::string m_path;
};
