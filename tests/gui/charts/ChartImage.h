#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>

class CDaySeries;
class CDrawGraph;

inline const QColor MARGIN_COLOUR(195, 195, 195);
inline const QColor PLOT_COLOUR(30, 30, 30);
inline const QColor FRAME_COLOUR(128, 128, 128);
inline const QColor GRID_COLOUR(255, 255, 100);

// Where the plot's edges should land for a chart of the given size whose
// widest value label is the given text.
struct ExpectedPlot {
    ExpectedPlot(QSize size, const QString& widestLabel);

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    int Dx() const { return Width() / 48; } // half an hour
    int Dy() const { return Height() / 20; }
    int ValueY(int step) const { return top + step * Dy(); }
    int HourX(int halfHours) const { return left + halfHours * Dx(); }

    int left;
    int top;
    int right;
    int bottom;
};

QImage Render(CDrawGraph& graph, QSize size);
QImage Render(CDrawGraph& graph, QSize size, const CDaySeries& series);
QColor PixelAt(const QImage& image, int x, int y);

// The picture shows the text in the label font with its cell's top-left
// corner at (x, y), on the margin colour and nothing else in the cell.
bool ShowsText(const QImage& image, int x, int y, const QString& text);
// The same for text reading bottom to top whose baseline start is (x, y).
bool ShowsUpwardText(const QImage& image, int x, int y, const QString& text);
bool HasPixelOtherThan(const QImage& image, const QRect& area, const QColor& colour);
int CountPixels(const QImage& image, const QRect& area, const QColor& colour);
