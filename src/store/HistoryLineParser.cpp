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
    // Digits past the limit are counted, not added: the value must not overflow.
    for (; i < text.size() && IsDigit(text[i]); ++i, ++wholeDigits) {
        if (wholeDigits < MAX_WHOLE_DIGITS) {
            value = value * 10 + (text[i] - '0');
        }
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

struct Fields {
    std::array<std::string_view, THREE_FIELDS> text;
    std::size_t count = 0;
    std::uint32_t notNumbers = 0; // bit i: field i is not "[blanks][-]digits[.digits]"
};

// One pass over the line: split at the commas, and tell each field's shape on
// the way, so no field is looked at twice.
std::optional<Fields> Split(std::string_view line) {
    enum State { BLANKS, SIGN, WHOLE, POINT, FRACTION, OTHER };
    Fields fields;
    State state = BLANKS;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ',') {
            if (fields.count == fields.text.size()) {
                return std::nullopt;
            }
            if (state != WHOLE && state != FRACTION) {
                fields.notNumbers |= 1U << fields.count;
            }
            fields.text[fields.count++] = line.substr(start, i - start);
            start = i + 1;
            state = BLANKS;
            continue;
        }
        const char c = line[i];
        const bool digit = IsDigit(c);
        switch (state) {
        case BLANKS: state = c == ' ' ? BLANKS : c == '-' ? SIGN : digit ? WHOLE : OTHER; break;
        case SIGN: state = digit ? WHOLE : OTHER; break;
        case WHOLE: state = digit ? WHOLE : c == '.' ? POINT : OTHER; break;
        case POINT:
        case FRACTION: state = digit ? FRACTION : OTHER; break;
        case OTHER: break;
        }
    }
    return fields;
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
    const std::optional<Fields> fields = Split(WithoutLineEnd(line));
    if (!fields || (fields->count != SINGLE_FIELDS && fields->count != THREE_FIELDS)) {
        return std::nullopt;
    }
    const std::optional<CivilTime> time = ParseTime(fields->text[0]);
    if (!time) {
        return std::nullopt;
    }
    const Columns& columns = fields->count == SINGLE_FIELDS ? SINGLE_COLUMNS : THREE_COLUMNS;
    const std::uint32_t impedance = 1U << columns.impedance;
    const std::uint32_t allowed =
        1U | (fields->text[columns.impedance] == NOT_AVAILABLE ? impedance : 0U);
    if ((fields->notNumbers & ~allowed) != 0) {
        return std::nullopt;
    }
    const auto temp = ParseNumber(fields->text[columns.temp], 1);
    const auto power = ParseNumber(fields->text[columns.power], 0);
    const auto eToday = ParseNumber(fields->text[columns.eToday], 2);
    const auto eTotal = ParseNumber(fields->text[columns.eTotal], 1);
    if (!temp || !power || !eToday || !eTotal || *eToday < 0 || *eTotal < 0) {
        return std::nullopt;
    }
    HistoryLineValues values;
    values.time = *time;
    values.phases = fields->count == SINGLE_FIELDS ? 1 : 3;
    values.tempTenths = *temp;
    values.powerW = *power;
    values.eTodayWh = *eToday * 10;
    values.eTotalWh = *eTotal * 100;
    return values;
}
