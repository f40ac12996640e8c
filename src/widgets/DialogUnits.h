#pragma once

#include <QFont>
#include <QRect>

// Turns dialog units into pixels for a dialog's font, so layouts are written
// in the units their templates use.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font = DialogFont());

    int X(int units) const;
    int Y(int units) const;
    QRect Rect(int x, int y, int width, int height) const;

    // "Arial" 8 points; fontconfig gives a face with Arial's metrics.
    static QFont DialogFont();

private:
    int m_baseX;
    int m_baseY;
};
