#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

// Bars of a quantity per day, month or year, drawn like the day charts: grey
// margin, dark plot with a dotted grid, value labels on the left, the unit
// along the left edge, a label under each bar that has room for one.
class BarChart {
public:
    struct Bar {
        QString label;
        double value = 0.0;
    };

    void SetAppearance(const QColor& bar, const QString& unit);
    void SetBars(std::vector<Bar> bars) { m_bars = std::move(bars); }
    const std::vector<Bar>& Bars() const { return m_bars; }

    // Renders off-screen at dest's size, then copies the picture to dest.
    void Draw(QPainter& target, const QRect& dest);

    double ScaleMax() const { return m_dScaleMax; } // as worked out by the last draw
    // Where the last draw put a bar, relative to dest; empty for a bar of 0.
    QRect BarRect(int index) const;
    // The bar under a point relative to dest, or -1.
    int BarAt(int x) const;

private:
    struct Plot {
        int left;
        int top;
        int right;
        int bottom;
    };

    void DrawValueAxis(QPainter& painter) const;
    void DrawBars(QPainter& painter);

    QColor m_crBar{0, 240, 0};
    QString m_strUnit;
    std::vector<Bar> m_bars;
    std::vector<QRect> m_barRects;
    Plot m_plot{};
    int m_nSlot = 0;
    double m_dScaleMax = 1.0;
};
