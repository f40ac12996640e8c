#include "HistoryPeriod.h"

#include "store/CivilDays.h"

#include <cstdio>

namespace {
constexpr int FIRST_ALL_DAY = 10101;
constexpr int LAST_ALL_DAY = 99991231;

int AddMonths(int dayKey, int months) {
    const int index = CivilDays::YearOf(dayKey) * 12 + CivilDays::MonthOf(dayKey) - 1 + months;
    return CivilDays::Key(index / 12, index % 12 + 1, 1);
}

bool ParseDigits(const std::string& text, std::size_t at, std::size_t count, int& value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}
} // namespace

int HistoryPeriod::FirstDay() const {
    switch (kind) {
    case PeriodKind::DAY: return anchor;
    case PeriodKind::MONTH: return anchor / 100 * 100 + 1;
    case PeriodKind::YEAR: return anchor / 10000 * 10000 + 101;
    case PeriodKind::ALL: return FIRST_ALL_DAY;
    }
    return anchor;
}

int HistoryPeriod::LastDay() const {
    switch (kind) {
    case PeriodKind::DAY: return anchor;
    case PeriodKind::MONTH:
        return anchor / 100 * 100 +
               CivilDays::DaysInMonth(CivilDays::YearOf(anchor), CivilDays::MonthOf(anchor));
    case PeriodKind::YEAR: return anchor / 10000 * 10000 + 1231;
    case PeriodKind::ALL: return LAST_ALL_DAY;
    }
    return anchor;
}

HistoryPeriod HistoryPeriod::Step(int direction) const {
    switch (kind) {
    case PeriodKind::DAY: return {kind, CivilDays::AddDays(anchor, direction)};
    case PeriodKind::MONTH: return {kind, AddMonths(FirstDay(), direction)};
    case PeriodKind::YEAR: return {kind, AddMonths(FirstDay(), 12 * direction)};
    case PeriodKind::ALL: return *this;
    }
    return *this;
}

std::string HistoryPeriod::Label() const {
    switch (kind) {
    case PeriodKind::DAY: return PeriodKeyText(anchor, 1);
    case PeriodKind::MONTH: return PeriodKeyText(anchor / 100, 100);
    case PeriodKind::YEAR: return PeriodKeyText(anchor / 10000, 10000);
    case PeriodKind::ALL: return "All years";
    }
    return {};
}

int HistoryPeriod::BarDivisor() const {
    switch (kind) {
    case PeriodKind::DAY: return 1;
    case PeriodKind::MONTH: return 1;
    case PeriodKind::YEAR: return 100;
    case PeriodKind::ALL: return 10000;
    }
    return 1;
}

std::vector<int> HistoryPeriod::BarKeys(int firstYear, int lastYear) const {
    std::vector<int> keys;
    switch (kind) {
    case PeriodKind::DAY: keys.push_back(anchor); break;
    case PeriodKind::MONTH:
        for (int day = FirstDay(); day <= LastDay(); ++day) {
            keys.push_back(day);
        }
        break;
    case PeriodKind::YEAR:
        for (int month = 1; month <= 12; ++month) {
            keys.push_back(CivilDays::YearOf(anchor) * 100 + month);
        }
        break;
    case PeriodKind::ALL:
        for (int year = firstYear; year <= lastYear; ++year) {
            keys.push_back(year);
        }
        break;
    }
    return keys;
}

std::string PeriodKeyText(int key, int divisor) {
    char text[16];
    if (divisor == 1) {
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", CivilDays::YearOf(key),
                      CivilDays::MonthOf(key), CivilDays::DayOf(key));
    } else if (divisor == 100) {
        std::snprintf(text, sizeof text, "%04d-%02d", key / 100, key % 100);
    } else {
        std::snprintf(text, sizeof text, "%04d", key);
    }
    return text;
}

std::optional<int> ParsePeriodDate(const std::string& text, PeriodKind kind) {
    int year = 0;
    int month = 1;
    int day = 1;
    const std::size_t parts = text.size() == 4    ? 1
                              : text.size() == 7  ? 2
                              : text.size() == 10 ? 3
                                                  : 0;
    const bool parsed = parts >= 1 && ParseDigits(text, 0, 4, year) &&
                        (parts < 2 || (text[4] == '-' && ParseDigits(text, 5, 2, month))) &&
                        (parts < 3 || (text[7] == '-' && ParseDigits(text, 8, 2, day)));
    const std::size_t needed = kind == PeriodKind::DAY ? 3 : kind == PeriodKind::MONTH ? 2 : 1;
    if (!parsed || parts < needed || year < 1 || month < 1 || month > 12 || day < 1 ||
        day > CivilDays::DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return CivilDays::Key(year, month, day);
}
