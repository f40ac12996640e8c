#include "FullTextToolTip.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace {
// The width the style leaves for the text of a cell: its text rectangle less
// the margin drawn on either side.
int TextSpace(const QStyleOptionViewItem& item, const QWidget* view) {
    const QStyle* style = view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return style->subElementRect(QStyle::SE_ItemViewItemText, &item, view).width() - 2 * margin;
}
} // namespace

bool FullTextToolTip::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                const QStyleOptionViewItem& option, const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const bool cut = item.fontMetrics.horizontalAdvance(item.text) > TextSpace(item, view);
    // An empty text takes down a tooltip left from another cell.
    QToolTip::showText(event->globalPos(), cut ? item.text : QString(), view->viewport(),
                       option.rect);
    return cut;
}
