#pragma once

#include "history/HistoryPeriod.h"
#include "history/PeriodFigures.h"
#include "history/SummaryReader.h"

#include <QDialog>
#include <vector>

class CHistoryChartView;
class QCalendarWidget;
class QComboBox;
class QLabel;
class QPushButton;

// The history browser: a calendar picks a day, month, year or all years; the
// plant or one inverter is shown as the day's power curve or as energy bars,
// with the period's energy, peak and best day; the period goes back and
// forward, and is exported as CSV or as a picture of the chart. Reads the
// summary, never the history files.
class CHistoryDlg : public QDialog {
    Q_OBJECT

public:
    explicit CHistoryDlg(QWidget* parent = nullptr);

    void ShowPeriod(const HistoryPeriod& period);
    const HistoryPeriod& Period() const { return m_period; }
    const PeriodFigures& Figures() const { return m_figures; }

private:
    void BuildControls();
    void FillSubjects();
    void Refresh();
    void ShowChart();
    QString TitleText() const;
    QString TotalsText() const;
    std::int64_t Subject() const;
    void OnDateChosen();
    void OnKindChosen(int index);
    void OnStep(int direction);
    void OnBarClicked(int index);
    void OnExportCsv();
    void OnExportPng();
    QString ProposedName(const QString& extension) const;

    SummaryReader m_reader;
    QString m_problem; // why the summary cannot be read at all
    QString m_failure; // why the period shown has no figures
    HistoryPeriod m_period;
    PeriodFigures m_figures;
    QCalendarWidget* m_calendar = nullptr;
    QComboBox* m_cbPeriod = nullptr;
    QComboBox* m_cbSubject = nullptr;
    QPushButton* m_btnBack = nullptr;
    QPushButton* m_btnForward = nullptr;
    QLabel* m_title = nullptr;
    CHistoryChartView* m_chart = nullptr;
    QLabel* m_totals = nullptr;
};
