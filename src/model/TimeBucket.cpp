#include "TimeBucket.h"

#include <algorithm>
#include <cmath>
#include <limits>

std::int32_t CTimeBucket::IndexOf(std::time_t time) {
    const std::time_t index = time / SECONDS - (time % SECONDS < 0 ? 1 : 0);
    return static_cast<std::int32_t>(index);
}

CTimeBucket CTimeBucket::Of(std::time_t time, double value) {
    CTimeBucket bucket;
    bucket.m_nIndex = IndexOf(time);
    const auto second = static_cast<std::uint8_t>(time - bucket.Start());
    const auto single = static_cast<float>(value);
    bucket.m_nCount = 1;
    bucket.m_fSum = single;
    bucket.m_fMin = single;
    bucket.m_fMax = single;
    bucket.m_fFirst = single;
    bucket.m_fLast = single;
    bucket.m_fBeforeJump = single;
    bucket.m_fAfterJump = single;
    bucket.m_nFirstSecond = second;
    bucket.m_nLastSecond = second;
    bucket.m_nMinSecond = second;
    bucket.m_nMaxSecond = second;
    bucket.m_nJumpFromSecond = second;
    bucket.m_nJumpToSecond = second;
    return bucket;
}

void CTimeBucket::TakeLargerJump(std::uint8_t fromSecond, float before, std::uint8_t toSecond,
                                 float after) {
    if (std::abs(after - before) > std::abs(m_fAfterJump - m_fBeforeJump)) {
        m_nJumpFromSecond = fromSecond;
        m_nJumpToSecond = toSecond;
        m_fBeforeJump = before;
        m_fAfterJump = after;
    }
}

void CTimeBucket::Add(std::time_t time, double value) {
    Append(Of(time, value));
}

// A sample earlier than the last one (the clock stepped back) still counts,
// and the extremes stay true; only the first and last points keep to time.
void CTimeBucket::Append(const CTimeBucket& later) {
    if (later.m_nCount == 0) {
        return;
    }
    if (m_nCount == 0) {
        *this = later;
        return;
    }
    if (later.m_nFirstSecond >= m_nLastSecond) {
        const int step = later.m_nFirstSecond - m_nLastSecond;
        m_nLongestStep = static_cast<std::uint8_t>(std::max<int>(m_nLongestStep, step));
        TakeLargerJump(m_nLastSecond, m_fLast, later.m_nFirstSecond, later.m_fFirst);
    }
    m_nLongestStep = std::max(m_nLongestStep, later.m_nLongestStep);
    TakeLargerJump(later.m_nJumpFromSecond, later.m_fBeforeJump, later.m_nJumpToSecond,
                   later.m_fAfterJump);
    if (later.m_nFirstSecond < m_nFirstSecond) {
        m_nFirstSecond = later.m_nFirstSecond;
        m_fFirst = later.m_fFirst;
    }
    if (later.m_nLastSecond >= m_nLastSecond) {
        m_nLastSecond = later.m_nLastSecond;
        m_fLast = later.m_fLast;
    }
    if (later.m_fMin < m_fMin) {
        m_fMin = later.m_fMin;
        m_nMinSecond = later.m_nMinSecond;
    }
    if (later.m_fMax > m_fMax) {
        m_fMax = later.m_fMax;
        m_nMaxSecond = later.m_nMaxSecond;
    }
    constexpr int FULL = std::numeric_limits<std::uint16_t>::max();
    if (m_nCount + later.m_nCount <= FULL) {
        m_nCount = static_cast<std::uint16_t>(m_nCount + later.m_nCount);
        m_fSum += later.m_fSum;
    }
}
