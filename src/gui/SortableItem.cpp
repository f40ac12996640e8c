#include "SortableItem.h"

namespace {
int Compare(const QVariant& left, const QVariant& right) {
    const QPartialOrdering order = QVariant::compare(left, right);
    if (order == QPartialOrdering::Less) {
        return -1;
    }
    return order == QPartialOrdering::Greater ? 1 : 0;
}
} // namespace

bool SortableItem::operator<(const QTableWidgetItem& other) const {
    const int bySortKey = Compare(data(SORT_ROLE), other.data(SORT_ROLE));
    if (bySortKey != 0) {
        return bySortKey < 0;
    }
    return Compare(data(TIE_ROLE), other.data(TIE_ROLE)) < 0;
}
