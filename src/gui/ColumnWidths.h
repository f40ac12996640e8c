#pragma once

#include <QList>
#include <QObject>
#include <vector>

class QTableView;

// Keeps a table's columns as wide as their content, except those the
// operator has sized by hand. A column kept whole is never narrower than its
// content, whoever sized it.
class ColumnWidths : public QObject {
    Q_OBJECT

public:
    explicit ColumnWidths(QTableView& table);

    void KeepWhole(int column);
    // Every column to its content's width (wider or narrower).
    void Fit();
    // Only widens: for values that change while the rows stay.
    void Grow();
    // The widths the operator chose, by column; 0 where there is none.
    QList<int> OperatorWidths() const;
    void SetOperatorWidths(const QList<int>& widths);

private:
    void Apply(bool shrink);
    int ContentWidth(int column) const;
    void OnSectionResized(int column, int oldWidth, int newWidth);

    QTableView& m_table;
    std::vector<int> m_operatorWidths;
    std::vector<bool> m_whole;
    bool m_bFitting = false;
};
