#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>

// The inverter status discs: grey (no status), green (running, no error bits)
// and red (error bits present), known by their icon ids.
class StatusIcons {
public:
    static constexpr int LIST_SIZE = 16;
    static constexpr int STANDARD_SIZE = 32;

    // The disc of IDI_STATUS_GREY, IDI_STATUS_GREEN or IDI_STATUS_RED, size
    // pixels square; a transparent square for any other id.
    static QPixmap Pixmap(int iconId, int size);
    // The disc at the list and standard sizes.
    static QIcon Icon(int iconId);
    // The x of an icon's hot spot at the standard size: its centre.
    static int HotSpotX() { return STANDARD_SIZE / 2; }
    static QColor Colour(int iconId);
};
