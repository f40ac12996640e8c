#pragma once

#include <QRect>
#include <QSize>

// Where the four panes go in a client area of the given size: two columns,
// 2 pixels apart, the list over the general status on the left, today energy
// over power on the right. The left column is half the width and the general
// status a third of the height, or more where the general status pane needs
// more to show its form whole, as long as the charts keep a third of the
// width and the list a third of the height.
struct PaneLayout {
    QRect list;
    QRect generalStatus;
    QRect todayEnergy;
    QRect power;
};

PaneLayout LayOutPanes(int width, int height, QSize generalStatusNeeds = QSize());
