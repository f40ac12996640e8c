#pragma once

#include "charts/Meter.h"

#include <QColor>
#include <QImage>
#include <QPoint>

// Where the gauge's rules put things in a control of a given size, worked out
// independently of the gauge, and the picture it paints.
struct MeterGeometry {
    // With the radius the control's size gives the scale when its labels fit.
    explicit MeterGeometry(QSize size);
    MeterGeometry(QSize size, int scaleRadius);

    // Rounded to the nearest pixel, as the tick ends are.
    QPoint At(double degrees, double distance) const;

    int radius;
    QPoint pivot;
    int outer; // outer tick ends
    int inner; // major tick inner ends
    int mid;   // minor tick inner ends
};

// Distinct colours for the system colours the gauge reads.
inline const QColor FACE_COLOUR(200, 200, 200);
inline const QColor SHADOW_COLOUR(0, 0, 160);
inline const QColor HIGHLIGHT_COLOUR(255, 255, 255);

void UseTestColours(CMeter& meter);
QImage Snapshot(CMeter& meter);
bool IsBlack(QRgb pixel);
// Whether a pixel of this colour lies within one pixel of the point: a line
// drawn without antialiasing strays up to half a pixel from the exact one.
bool HasColourNear(const QImage& image, QPoint point, const QColor& colour);
bool HasBlackNear(const QImage& image, QPoint point);
