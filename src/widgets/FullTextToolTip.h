#pragma once

#include <QStyledItemDelegate>

// Draws cells as usual; a cell too narrow for its text shows the whole text
// as its tooltip, so nothing the operator needs stays hidden behind "...".
class FullTextToolTip : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
