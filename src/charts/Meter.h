#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

class QFontMetrics;

// Analog gauge: a clockwise arc scale with ticks and labels, an optional
// green-yellow-red band, a bevelled needle on a shaded hub and the value with
// its unit under the pivot. The scale shrinks where the control is too flat to
// hold its labels. The face (everything but needle, hub and value text) is
// drawn once into a cached image and reused until a setting or the size
// changes.
class CMeter : public QWidget {
    Q_OBJECT

public:
    // The tick point lists are this long; settings that would need more tick
    // positions are refused.
    static constexpr int MAX_TICKS = 200;

    explicit CMeter(QWidget* parent = nullptr);

    // Moves the needle and the value text only; the face stays cached.
    void SetValue(double value);
    // Acts only when the maximum changes: a new minimum alone is ignored.
    void SetRange(double minimum, double maximum);
    // Acts when the maximum or the value changes, and then rebuilds the face.
    void SetValueAndRange(double value, double minimum, double maximum);
    void SetNeedleColour(const QColor& colour);
    void EnableColourBand(int enable);
    void SetScaleDigits(int digits);
    void SetValueDigits(int digits);
    void SetUnit(const QString& unit);
    // These three refuse, returning false and changing nothing, a scale with
    // fewer than one division of either kind, a tick step below a hundredth
    // of a degree or more than MAX_TICKS tick positions.
    bool SetDivisions(int majorDivisions);
    bool SetSubdivisions(int minorPerMajor);
    bool SetAngles(int startDeg, int endDeg);
    void InvalidateFace();

    double GetValue() const { return m_dNeedleValue; }
    double GetRangeMin() const { return m_dRangeMin; }
    double GetRangeMax() const { return m_dRangeMax; }
    // How often the face has been drawn; lets owners and tests see the cache work.
    int FaceBuildCount() const { return m_nFaceBuilds; }
    // The scale radius the face was last drawn with.
    int Radius() const { return m_nRadius; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct SystemColours {
        QColor highlight;
        QColor shadow;
        QColor face;
    };
    struct LabelCell {
        QString text;
        QRect cell; // ascent to descent
    };

    static bool IsValidScale(int startDeg, int endDeg, int majorDivisions, int minorPerMajor);
    double Sweep() const;
    double TickStep() const;
    double NeedleAngle() const;
    long long TickHundredths(int index) const;
    double TickDegrees(int index) const;
    QPoint PivotFor(int radius) const;
    int FittedRadius() const;
    bool LabelsFit(int radius) const;
    std::vector<LabelCell> LabelCells(int radius, QPoint pivot, const QFontMetrics& metrics) const;

    void BuildFace(qreal pixelRatio);
    void DrawFace(QPainter& painter);
    void PlaceTicks(int outer, int inner, int mid);
    void DrawInnerArc(QPainter& painter, int inner) const;
    void DrawColourBand(QPainter& painter, int bandInset) const;
    void DrawTicks(QPainter& painter) const;
    void DrawLabels(QPainter& painter) const;
    void DrawNeedle(QPainter& painter) const;
    void DrawHub(QPainter& painter) const;
    void DrawValueText(QPainter& painter) const;

    int m_bColourBand = 0;
    QString m_strUnit = QStringLiteral("W");
    int m_nValueDigits = 0;
    QColor m_crNeedle{255, 0, 0};
    int m_nScaleDigits = 0;
    double m_dNeedleValue = 0.0;
    double m_dRangeMax = 0.0;
    double m_dRangeMin = 0.0;
    int m_nStartDeg = 150;
    int m_nEndDeg = 390;
    int m_nMajorDivisions = 10;
    int m_nMinorPerMajor = 2;
    int m_nHubUnit = 0;
    QRect m_rcValueText;
    QRegion m_rgnScale;
    QImage m_faceBitmap;
    QPoint m_ptPivot;
    std::array<QPoint, MAX_TICKS> m_tickOuter{};
    std::array<QPoint, MAX_TICKS> m_tickInner{};
    int m_nTicks = 0;
    QFont m_valueFont;
    SystemColours m_colours;
    int m_nRadius = 0;
    int m_nFaceBuilds = 0;
};
