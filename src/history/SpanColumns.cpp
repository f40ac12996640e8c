#include "SpanColumns.h"

namespace {
std::int64_t Watts(float value) {
    return static_cast<std::int64_t>(value);
}

std::uint8_t Second(std::int64_t value) {
    return static_cast<std::uint8_t>(value);
}

float WattsOf(std::int64_t value) {
    return static_cast<float>(value);
}
} // namespace

void BindSpan(SqliteStatement& statement, int first, const SpanRow& row) {
    const CTimeBucket& power = row.power;
    const std::int64_t values[SPAN_COLUMN_COUNT] = {power.Start(),
                                                    power.m_nCount,
                                                    Watts(power.m_fSum),
                                                    Watts(power.m_fMin),
                                                    power.m_nMinSecond,
                                                    Watts(power.m_fMax),
                                                    power.m_nMaxSecond,
                                                    Watts(power.m_fFirst),
                                                    power.m_nFirstSecond,
                                                    Watts(power.m_fLast),
                                                    power.m_nLastSecond,
                                                    Watts(power.m_fBeforeJump),
                                                    power.m_nJumpFromSecond,
                                                    Watts(power.m_fAfterJump),
                                                    power.m_nJumpToSecond,
                                                    power.m_nLongestStep,
                                                    row.eTodayWh};
    for (int i = 0; i < SPAN_COLUMN_COUNT; ++i) {
        statement.Bind(first + i, values[i]);
    }
}

SpanRow SpanAt(const SqliteStatement& query, int first) {
    const auto column = [&](int i) { return query.Int(first + i); };
    SpanRow row;
    CTimeBucket& power = row.power;
    power.m_nIndex = CTimeBucket::IndexOf(static_cast<std::time_t>(column(0)));
    power.m_nCount = static_cast<std::uint16_t>(column(1));
    power.m_fSum = WattsOf(column(2));
    power.m_fMin = WattsOf(column(3));
    power.m_nMinSecond = Second(column(4));
    power.m_fMax = WattsOf(column(5));
    power.m_nMaxSecond = Second(column(6));
    power.m_fFirst = WattsOf(column(7));
    power.m_nFirstSecond = Second(column(8));
    power.m_fLast = WattsOf(column(9));
    power.m_nLastSecond = Second(column(10));
    power.m_fBeforeJump = WattsOf(column(11));
    power.m_nJumpFromSecond = Second(column(12));
    power.m_fAfterJump = WattsOf(column(13));
    power.m_nJumpToSecond = Second(column(14));
    power.m_nLongestStep = Second(column(15));
    row.eTodayWh = column(16);
    return row;
}
