#include "CellToolTip.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTableWidget>
#include <QTest>
#include <QToolTip>

QString CellToolTip(QTableWidget& table, int row, int column) {
    // A tooltip fades out; the next one must not be taken for the old one.
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000)) {
        return QStringLiteral("<earlier tooltip still shown>");
    }
    const QPoint at = table.visualItemRect(table.item(row, column)).center();
    QHelpEvent event(QEvent::ToolTip, at, table.viewport()->mapToGlobal(at));
    QApplication::sendEvent(table.viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}
