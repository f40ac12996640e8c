#pragma once

#include <QIcon>
#include <QImage>

// The station's own pictures, drawn in code and looked up by resource id.
class Artwork {
public:
    // Null for an id that names no bitmap.
    static QImage Bitmap(int resourceId);
    // Null for an id that names no icon.
    static QIcon Icon(int resourceId);
};
