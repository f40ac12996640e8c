#pragma once

#include "CurveVertex.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <ctime>

// The samples of one half minute of a day series, as few numbers: their count
// and sum for the mean, and the shape of their curve, which is where it began
// and ended, its lowest and highest value and its largest change from one
// sample to the next, each with the second it came at. Half a minute is
// narrower than a pixel column of a day drawn 1,600 pixels wide, so every
// column holds the whole of some bucket, and the largest change falls in the
// column where it happened.
struct CTimeBucket {
    static constexpr int SECONDS = 30;

    // Half minutes since the epoch, rounded down.
    static std::int32_t IndexOf(std::time_t time);

    // A bucket holding one sample.
    static CTimeBucket Of(std::time_t time, double value);
    // Another sample of the same half minute.
    void Add(std::time_t time, double value);
    // The samples of the same half minute that came after these.
    void Append(const CTimeBucket& later);

    std::time_t Start() const { return std::time_t{m_nIndex} * SECONDS; }
    double Mean() const { return m_nCount > 0 ? static_cast<double>(m_fSum) / m_nCount : 0.0; }
    // The shape's points in time order, repeats left out.
    template <class Visit>
    void ForEachVertex(Visit&& visit) const;

    std::int32_t m_nIndex = 0;
    float m_fSum = 0.0F;
    float m_fMin = 0.0F;
    float m_fMax = 0.0F;
    float m_fFirst = 0.0F;
    float m_fLast = 0.0F;
    float m_fBeforeJump = 0.0F; // the largest change from one sample to the next
    float m_fAfterJump = 0.0F;
    std::uint16_t m_nCount = 0; // stops counting, and summing, when full
    std::uint8_t m_nFirstSecond = 0;
    std::uint8_t m_nLastSecond = 0;
    std::uint8_t m_nMinSecond = 0;
    std::uint8_t m_nMaxSecond = 0;
    std::uint8_t m_nJumpFromSecond = 0;
    std::uint8_t m_nJumpToSecond = 0;
    std::uint8_t m_nLongestStep = 0; // seconds between two samples in a row, at most

private:
    void TakeLargerJump(std::uint8_t fromSecond, float before, std::uint8_t toSecond, float after);
};

template <class Visit>
void CTimeBucket::ForEachVertex(Visit&& visit) const {
    struct Point {
        int second;
        float value;
    };
    std::array<Point, 6> shape{{{m_nFirstSecond, m_fFirst},
                                {m_nJumpFromSecond, m_fBeforeJump},
                                {m_nJumpToSecond, m_fAfterJump},
                                {m_nMinSecond, m_fMin},
                                {m_nMaxSecond, m_fMax},
                                {m_nLastSecond, m_fLast}}};
    std::stable_sort(shape.begin() + 1, shape.end() - 1,
                     [](const Point& a, const Point& b) { return a.second < b.second; });
    const std::time_t start = Start();
    for (std::size_t i = 0; i < shape.size(); ++i) {
        if (i > 0 && shape[i].second == shape[i - 1].second &&
            shape[i].value == shape[i - 1].value) {
            continue;
        }
        visit(CCurveVertex{start + shape[i].second, shape[i].value, i == 0 ? -1 : m_nLongestStep});
    }
}
