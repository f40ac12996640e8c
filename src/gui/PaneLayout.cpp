#include "PaneLayout.h"

#include <algorithm>

namespace {
QRect Span(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
} // namespace

PaneLayout LayOutPanes(int width, int height, QSize generalStatusNeeds) {
    const int column = std::clamp(generalStatusNeeds.width(), width / 2, 2 * width / 3);
    const int split =
        std::clamp(height - 2 - generalStatusNeeds.height() - 2, height / 3, 2 * height / 3);
    PaneLayout layout;
    layout.list = Span(0, 0, column, split);
    layout.generalStatus = Span(0, split + 2, column, height - 2);
    layout.todayEnergy = Span(column + 2, 0, width, height / 2);
    layout.power = Span(column + 2, height / 2 + 2, width, height - 2);
    return layout;
}
