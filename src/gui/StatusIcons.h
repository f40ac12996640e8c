#pragma once

#include "store/InverterCondition.h"

#include <QColor>
#include <QIcon>
#include <QPixmap>

// The inverter status marks. Each condition has a shape of its own, so that
// it reads without its colour: a green disc (normal), a red warning triangle
// (fault), an amber diamond (stale, port lost), a grey square (offline) and
// a grey cross (removing).
class StatusIcons {
public:
    static constexpr int LIST_SIZE = 16;
    static constexpr int STANDARD_SIZE = 32;

    static QPixmap Pixmap(ConditionKind kind, int size);
    // The mark at the list and standard sizes.
    static QIcon Icon(ConditionKind kind);
    static QColor Colour(ConditionKind kind);
};
