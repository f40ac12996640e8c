#pragma once

#include "model/DaySeries.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QString>
#include <ctime>
#include <optional>

class QPainter;
class QRect;

// A 24-hour line chart of one day of samples: grey margin, dark plot with a
// dotted grid, value labels on the left, hour labels underneath, the unit
// written bottom to top along the left edge and an optional title.
// The chart keeps a series of its own; an inverter's series, guarded by its
// group's lock, is drawn by passing it in while holding that lock.
class CDrawGraph {
public:
    CDrawGraph();
    virtual ~CDrawGraph() = default;

    void SetAppearance(const QColor& curve, const QString& unit, const QString& title,
                       bool fourHourLabels);

    // One given local day instead of the clock's 24 hours: the time axis runs
    // over the day's 23, 24 or 25 hours from its first second with hour labels
    // read off the local clock, and samples up to joinSeconds apart are
    // joined.
    struct DayAxis {
        std::time_t start = 0;
        int hours = 24;
        int joinSeconds = 0;
    };
    void SetDayAxis(const DayAxis& axis) { m_dayAxis = axis; }

    void AddSample(const CGraphSample& sample) { m_series.AddSample(sample); }
    void RemoveAllSamples() { m_series.RemoveAllSamples(); }
    double GetMaxValue() const { return m_series.GetMaxValue(); }
    const CDaySeries& Series() const { return m_series; }

    // Renders off-screen at dest's size, then copies the picture to dest.
    void Draw(QPainter& target, const QRect& dest);
    void Draw(QPainter& target, const QRect& dest, const CDaySeries& series);

    QColor CurveColour() const { return m_crCurve; }
    const QString& Unit() const { return m_strUnit; }
    const QString& Title() const { return m_strTitle; }
    bool FourHourLabels() const { return m_bFourHourLabels; }
    double ScaleMax() const { return m_dScaleMax; } // as worked out by the last draw

    // The labels' font: the dialog font's face at its size on a 96 dpi
    // screen, in pixels so the layout is the same on every device.
    static QFont LabelFont();

private:
    struct Area; // the rectangle the drawing steps narrow, in edge coordinates

    void DrawMargins(QPainter& painter, Area& area);
    void DrawUnit(QPainter& painter, const Area& area);
    void DrawGrid(QPainter& painter, Area& area) const;
    void DrawValueAxis(QPainter& painter, const Area& area) const;
    void DrawTimeAxis(QPainter& painter, const Area& area) const;
    void DrawTitle(QPainter& painter, const Area& area) const;
    void DrawCurve(QPainter& painter, const Area& area, const CDaySeries& series) const;
    int TimeSteps() const;
    QString HourLabel(int hour) const;

    QColor m_crCurve;
    QString m_strUnit;
    QString m_strTitle;
    QPen m_framePen;
    QPen m_gridPen;
    QBrush m_marginBrush;
    QBrush m_plotBrush;
    QFont m_verticalFont;
    QPen m_curvePen;
    CDaySeries m_series;
    double m_dScaleMax = 0.0;
    bool m_bFourHourLabels = false;
    std::optional<DayAxis> m_dayAxis;
};
