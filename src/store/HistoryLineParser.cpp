#include "HistoryLineParser.h"

#include "CivilDays.h"

#include <array>

namespace {
constexpr std::size_t SINGLE_FIELDS = 15;
constexpr std::size_t THREE_FIELDS = 30;
constexpr std::string_view TIME_PATTERN = "dddd/dd/dd dd:dd:dd";
constexpr std::string_view NOT_AVAILABLE = "NA";

struct Columns {
    std::size_t temp;
    std::size_t power;
    std::size_t eToday;
    std::size_t eTotal;
    std::size_t impedance;
};
constexpr Columns SINGLE_COLUMNS{1, 6, 8, 9, 7};
constexpr Columns THREE_COLUMNS{1, 5, 8, 7, 6};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int Digits(std::string_view text, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<CivilTime> ParseTime(std::string_view text) {
    if (text.size() != TIME_PATTERN.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (TIME_PATTERN[i] == 'd' ? !IsDigit(text[i]) : text[i] != TIME_PATTERN[i]) {
            return std::nullopt;
        }
    }
    CivilTime time{Digits(text, 0, 4),  Digits(text, 5, 2),  Digits(text, 8, 2),
                   Digits(text, 11, 2), Digits(text, 14, 2), Digits(text, 17, 2)};
    if (time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > CivilDays::DaysInMonth(time.year, time.month) || time.hour > 23 ||
        time.minute > 59 || time.second > 59) {
        return std::nullopt;
    }
    return time;
}

// "[blanks][-]digits[.digits]" as the writers print their numbers; the value
// scaled to `decimals` places, which the text must not exceed.
std::optional<std::int64_t> ParseNumber(std::string_view text, int decimals) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    const bool negative = i < text.size() && text[i] == '-';
    i += negative ? 1 : 0;
    constexpr int MAX_WHOLE_DIGITS = 12;
    std::int64_t value = 0;
    int wholeDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++wholeDigits) {
        value = value * 10 + (text[i] - '0');
    }
    if (wholeDigits == 0 || wholeDigits > MAX_WHOLE_DIGITS) {
        return std::nullopt;
    }
    int places = 0;
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++places) {
            if (places < decimals) {
                value = value * 10 + (text[i] - '0');
            }
        }
        if (places == 0) {
            return std::nullopt;
        }
    }
    if (i != text.size() || places > decimals) {
        return std::nullopt;
    }
    for (; places < decimals; ++places) {
        value *= 10;
    }
    return negative ? -value : value;
}

bool IsNumber(std::string_view text) {
    constexpr int ANY_DECIMALS = 9;
    return ParseNumber(text, ANY_DECIMALS).has_value();
}

std::string_view WithoutLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.remove_suffix(1);
    }
    return line;
}
} // namespace

bool IsHistoryHeader(std::string_view line) {
    return line.starts_with("  Time,");
}

std::optional<HistoryLineValues> ParseHistoryLine(std::string_view line) {
    line = WithoutLineEnd(line);
    std::array<std::string_view, THREE_FIELDS> fields;
    std::size_t count = 0;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        if (count == fields.size()) {
            return std::nullopt;
        }
        fields[count++] =
            line.substr(start, comma == std::string_view::npos ? line.npos : comma - start);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (count != SINGLE_FIELDS && count != THREE_FIELDS) {
        return std::nullopt;
    }
    const std::optional<CivilTime> time = ParseTime(fields[0]);
    if (!time) {
        return std::nullopt;
    }
    const Columns& columns = count == SINGLE_FIELDS ? SINGLE_COLUMNS : THREE_COLUMNS;
    for (std::size_t i = 1; i < count; ++i) {
        if (!IsNumber(fields[i]) && !(i == columns.impedance && fields[i] == NOT_AVAILABLE)) {
            return std::nullopt;
        }
    }
    const auto temp = ParseNumber(fields[columns.temp], 1);
    const auto power = ParseNumber(fields[columns.power], 0);
    const auto eToday = ParseNumber(fields[columns.eToday], 2);
    const auto eTotal = ParseNumber(fields[columns.eTotal], 1);
    if (!temp || !power || !eToday || !eTotal || *eToday < 0 || *eTotal < 0) {
        return std::nullopt;
    }
    HistoryLineValues values;
    values.time = *time;
    values.phases = count == SINGLE_FIELDS ? 1 : 3;
    values.tempTenths = *temp;
    values.powerW = *power;
    values.eTodayWh = *eToday * 10;
    values.eTotalWh = *eTotal * 100;
    return values;
}
