#pragma once

#include <QRect>

// Where the four panes go in a client area of the given size: two columns,
// 2 pixels apart, the list over the general status on the left, today energy
// over power on the right.
struct PaneLayout {
    QRect list;
    QRect generalStatus;
    QRect todayEnergy;
    QRect power;
};

PaneLayout LayOutPanes(int width, int height);
