#include "ColumnWidths.h"

#include <QHeaderView>
#include <QTableView>
#include <algorithm>

ColumnWidths::ColumnWidths(QTableView& table) : QObject(&table), m_table(table) {
    connect(table.horizontalHeader(), &QHeaderView::sectionResized, this,
            &ColumnWidths::OnSectionResized);
}

void ColumnWidths::KeepWhole(int column) {
    m_whole.resize(std::max<std::size_t>(m_whole.size(), column + 1), false);
    m_whole[column] = true;
}

void ColumnWidths::Fit() {
    Apply(true);
}

void ColumnWidths::Grow() {
    Apply(false);
}

void ColumnWidths::Apply(bool shrink) {
    const int columns = m_table.horizontalHeader()->count();
    m_operatorWidths.resize(std::max<std::size_t>(m_operatorWidths.size(), columns), 0);
    m_whole.resize(std::max<std::size_t>(m_whole.size(), columns), false);
    m_bFitting = true;
    for (int column = 0; column < columns; ++column) {
        const int content = ContentWidth(column);
        const int chosen = m_operatorWidths[column];
        int wanted = chosen > 0 ? chosen : content;
        if (m_whole[column]) {
            wanted = std::max(wanted, content);
        }
        const int now = m_table.columnWidth(column);
        if (wanted > now || (shrink && wanted < now)) {
            m_table.setColumnWidth(column, wanted);
        }
    }
    m_bFitting = false;
}

// Every row counts, not only those in sight (up to the header's precision).
int ColumnWidths::ContentWidth(int column) const {
    const QAbstractItemView& view = m_table;
    return std::max(view.sizeHintForColumn(column),
                    m_table.horizontalHeader()->sectionSizeHint(column));
}

QList<int> ColumnWidths::OperatorWidths() const {
    return QList<int>(m_operatorWidths.begin(), m_operatorWidths.end());
}

void ColumnWidths::SetOperatorWidths(const QList<int>& widths) {
    m_operatorWidths.assign(widths.begin(), widths.end());
    for (int& width : m_operatorWidths) {
        width = std::max(width, 0);
    }
    Fit();
}

// A column kept whole cannot be dragged narrower than its content.
void ColumnWidths::OnSectionResized(int column, int, int newWidth) {
    if (m_bFitting) {
        return;
    }
    m_operatorWidths.resize(std::max<std::size_t>(m_operatorWidths.size(), column + 1), 0);
    m_operatorWidths[column] = newWidth;
    if (static_cast<std::size_t>(column) < m_whole.size() && m_whole[column] &&
        newWidth < ContentWidth(column)) {
        m_bFitting = true;
        m_table.setColumnWidth(column, ContentWidth(column));
        m_bFitting = false;
    }
}
