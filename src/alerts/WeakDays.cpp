#include "WeakDays.h"

#include "store/CivilDays.h"

#include <cmath>
#include <set>

namespace {
constexpr int LEAST_COMPLETE_DAYS = 3;
constexpr std::int64_t LEAST_EXPECTED_WH = 200;

std::int64_t YieldOn(const std::map<int, std::int64_t>& days, int day) {
    const auto found = days.find(day);
    return found == days.end() ? 0 : found->second;
}

std::set<std::string> Judged(const DayYields& yields, int day) {
    const int dayBefore = CivilDays::AddDays(day, -1);
    std::set<std::string> judged;
    for (const auto& [serial, days] : yields) {
        if (days.count(day) > 0 || days.count(dayBefore) > 0) {
            judged.insert(serial);
        }
    }
    return judged;
}

std::vector<int> CompleteDays(const DayYields& yields, const std::set<std::string>& judged,
                              int day) {
    std::vector<int> complete;
    for (int past = CivilDays::AddDays(day, -SHARE_DAYS); past < day;
         past = CivilDays::AddDays(past, 1)) {
        bool all = true;
        for (const std::string& serial : judged) {
            all = all && yields.at(serial).count(past) > 0;
        }
        if (all) {
            complete.push_back(past);
        }
    }
    return complete;
}

std::int64_t Sum(const std::map<int, std::int64_t>& days, const std::vector<int>& which) {
    std::int64_t sum = 0;
    for (const int day : which) {
        sum += YieldOn(days, day);
    }
    return sum;
}
} // namespace

std::vector<WeakInverter> WeakInverters(const DayYields& yields, int day, int percent) {
    const std::set<std::string> judged = Judged(yields, day);
    const std::vector<int> complete = CompleteDays(yields, judged, day);
    if (judged.size() < 2 || complete.size() < LEAST_COMPLETE_DAYS) {
        return {};
    }
    std::int64_t pastPlant = 0;
    std::int64_t todayPlant = 0;
    for (const std::string& serial : judged) {
        pastPlant += Sum(yields.at(serial), complete);
        todayPlant += YieldOn(yields.at(serial), day);
    }
    std::vector<WeakInverter> weak;
    for (const std::string& serial : judged) {
        const std::int64_t past = Sum(yields.at(serial), complete);
        const std::int64_t today = YieldOn(yields.at(serial), day);
        const std::int64_t pastRest = pastPlant - past;
        if (past <= 0 || pastRest <= 0) {
            continue;
        }
        const double expected =
            static_cast<double>(past) / static_cast<double>(pastRest) * (todayPlant - today);
        if (expected < LEAST_EXPECTED_WH ||
            static_cast<double>(today) * 100.0 >= percent * expected) {
            continue;
        }
        weak.push_back(
            {serial, today, std::llround(expected),
             static_cast<int>(std::lround(static_cast<double>(today) * 100.0 / expected))});
    }
    return weak;
}
