#pragma once

#include <QTableWidgetItem>

// A table cell that sorts by a value of its own rather than by its text, so
// that "9 W" comes before "10 W", and rows that tie keep a fixed order.
class SortableItem : public QTableWidgetItem {
public:
    static constexpr int SORT_ROLE = Qt::UserRole + 10;
    static constexpr int TIE_ROLE = Qt::UserRole + 11;

    using QTableWidgetItem::QTableWidgetItem;

    bool operator<(const QTableWidgetItem& other) const override;
};
