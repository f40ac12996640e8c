#include "PaneLayout.h"

namespace {
QRect Span(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}
} // namespace

PaneLayout LayOutPanes(int width, int height) {
    PaneLayout layout;
    layout.list = Span(0, 0, width / 2, 2 * height / 3);
    layout.generalStatus = Span(0, 2 * height / 3 + 2, width / 2, height - 2);
    layout.todayEnergy = Span(width / 2 + 2, 0, width, height / 2);
    layout.power = Span(width / 2 + 2, height / 2 + 2, width, height - 2);
    return layout;
}
