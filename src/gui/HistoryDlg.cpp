#include "HistoryDlg.h"

#include "charts/HistoryChartView.h"
#include "history/HistoryCsv.h"
#include "history/SummaryRows.h"
#include "history/SummarySchema.h"
#include "history/SummaryText.h"
#include "platform/TimeText.h"
#include "res/ResourceIds.h"
#include "store/CivilDays.h"
#include "widgets/FileDialog.h"
#include "widgets/MessageBox.h"
#include "widgets/StationPalette.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <array>
#include <ctime>

namespace {
const QString CAPTION = "History";
const QColor POWER_COLOUR = StationPalette::POWER_CURVE;
const QColor ENERGY_COLOUR = StationPalette::ENERGY_CURVE;
constexpr int JOIN_SECONDS = 2 * 300; // one missing 5-minute stretch is bridged
constexpr std::array<const char*, 12> MONTHS{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<PeriodKind, 4> KINDS{PeriodKind::DAY, PeriodKind::MONTH, PeriodKind::YEAR,
                                          PeriodKind::ALL};

void Named(QWidget* widget, int id) {
    widget->setObjectName(QString::number(id));
}

QDate DateOf(int dayKey) {
    return {CivilDays::YearOf(dayKey), CivilDays::MonthOf(dayKey), CivilDays::DayOf(dayKey)};
}

int KeyOf(const QDate& date) {
    return CivilDays::Key(date.year(), date.month(), date.day());
}

QString Energy(std::int64_t wattHours) {
    return QString::fromStdString(KilowattHoursText(wattHours, 2)) + " kWh";
}

QString ClockText(std::time_t time, const char* format) {
    return QString::fromStdString(LocalTimeText(time, format));
}

QString BarLabel(int key, int divisor) {
    if (divisor == 1) {
        return QString::number(CivilDays::DayOf(key));
    }
    return divisor == 100 ? MONTHS[static_cast<std::size_t>(key % 100 - 1)] : QString::number(key);
}
} // namespace

CHistoryDlg::CHistoryDlg(QWidget* parent) : QDialog(parent) {
    Named(this, IDD_HISTORY);
    setWindowTitle(CAPTION);
    BuildControls();
    std::string problem;
    if (!m_reader.Open(SummaryPath(), &problem)) {
        m_problem = QString::fromStdString(problem);
    }
    FillSubjects();
    ShowPeriod({PeriodKind::DAY, KeyOf(QDate::currentDate())});
}

void CHistoryDlg::BuildControls() {
    m_calendar = new QCalendarWidget(this);
    Named(m_calendar, IDC_HISTORY_CALENDAR);
    m_cbPeriod = new QComboBox(this);
    Named(m_cbPeriod, IDC_HISTORY_PERIOD);
    m_cbPeriod->addItems({"Day", "Month", "Year", "All years"});
    m_cbSubject = new QComboBox(this);
    Named(m_cbSubject, IDC_HISTORY_SUBJECT);
    m_btnBack = new QPushButton("< Back", this);
    Named(m_btnBack, IDC_HISTORY_BACK);
    m_btnForward = new QPushButton("Forward >", this);
    Named(m_btnForward, IDC_HISTORY_FORWARD);
    auto* exportCsv = new QPushButton("Export CSV...", this);
    Named(exportCsv, IDC_HISTORY_EXPORT_CSV);
    auto* exportPng = new QPushButton("Save picture...", this);
    Named(exportPng, IDC_HISTORY_EXPORT_PNG);
    auto* close = new QPushButton("Close", this);
    Named(close, IDCANCEL);
    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    Named(m_title, IDC_HISTORY_TITLE);
    m_chart = new CHistoryChartView(this);
    Named(m_chart, IDC_HISTORY_CHART);
    m_chart->setMinimumSize(600, 360);
    m_totals = new QLabel(this);
    m_totals->setTextFormat(Qt::PlainText);
    Named(m_totals, IDC_HISTORY_TOTALS);
    m_totals->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* choices = new QFormLayout;
    choices->addRow("Period", m_cbPeriod);
    choices->addRow("Show", m_cbSubject);
    auto* steps = new QHBoxLayout;
    steps->addWidget(m_btnBack);
    steps->addWidget(m_btnForward);
    auto* left = new QVBoxLayout;
    left->addWidget(m_calendar);
    left->addLayout(choices);
    left->addLayout(steps);
    left->addStretch();
    left->addWidget(exportCsv);
    left->addWidget(exportPng);
    left->addWidget(close);
    auto* right = new QVBoxLayout;
    right->addWidget(m_title);
    right->addWidget(m_chart, 1);
    right->addWidget(m_totals);
    auto* main = new QHBoxLayout(this);
    main->addLayout(left);
    main->addLayout(right, 1);

    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &CHistoryDlg::OnDateChosen);
    connect(m_cbPeriod, &QComboBox::currentIndexChanged, this, &CHistoryDlg::OnKindChosen);
    connect(m_cbSubject, &QComboBox::currentIndexChanged, this, &CHistoryDlg::Refresh);
    connect(m_btnBack, &QPushButton::clicked, this, [this] { OnStep(-1); });
    connect(m_btnForward, &QPushButton::clicked, this, [this] { OnStep(1); });
    connect(m_chart, &CHistoryChartView::barClicked, this, &CHistoryDlg::OnBarClicked);
    connect(exportCsv, &QPushButton::clicked, this, &CHistoryDlg::OnExportCsv);
    connect(exportPng, &QPushButton::clicked, this, &CHistoryDlg::OnExportPng);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CHistoryDlg::FillSubjects() {
    const QSignalBlocker quiet(m_cbSubject);
    m_cbSubject->addItem("Plant", QVariant::fromValue<qlonglong>(SummaryReader::PLANT));
    if (!m_problem.isEmpty()) {
        return;
    }
    const auto sources = m_reader.Sources();
    if (!sources) {
        m_problem = QString::fromStdString(sources.Reason());
        return;
    }
    for (const SummarySource& source : *sources) {
        m_cbSubject->addItem(QString::fromStdString(source.name),
                             QVariant::fromValue<qlonglong>(source.id));
    }
}

std::int64_t CHistoryDlg::Subject() const {
    return m_cbSubject->currentData().toLongLong();
}

void CHistoryDlg::ShowPeriod(const HistoryPeriod& period) {
    m_period = period;
    {
        const QSignalBlocker quietCalendar(m_calendar);
        const QSignalBlocker quietKind(m_cbPeriod);
        m_calendar->setSelectedDate(DateOf(period.anchor));
        m_cbPeriod->setCurrentIndex(static_cast<int>(period.kind));
    }
    Refresh();
}

void CHistoryDlg::Refresh() {
    const bool stepping = m_period.kind != PeriodKind::ALL;
    m_btnBack->setEnabled(stepping);
    m_btnForward->setEnabled(stepping);
    m_figures = {};
    m_failure = m_problem;
    if (m_failure.isEmpty()) {
        if (auto figures = LoadPeriodFigures(m_reader, m_period, Subject()); figures) {
            m_figures = std::move(*figures);
        } else {
            m_failure = QString::fromStdString(figures.Reason());
        }
    }
    m_title->setText(TitleText());
    m_totals->setText(TotalsText());
    ShowChart();
}

void CHistoryDlg::ShowChart() {
    if (m_period.kind == PeriodKind::DAY) {
        CDaySeries series;
        for (const CurvePoint& point : m_figures.curve) {
            series.AddSample({point.start + BUCKET_SECONDS / 2, point.meanW});
        }
        const LocalCalendar::Day day = LocalCalendar().Bounds(m_period.anchor);
        m_chart->ShowCurve(series, {day.start, day.Hours(), JOIN_SECONDS}, POWER_COLOUR, "W");
        return;
    }
    const int divisor = m_period.BarDivisor();
    std::vector<BarChart::Bar> bars;
    for (const int key : m_figures.barKeys) {
        const auto found = m_figures.bars.find(key);
        const std::int64_t energy = found == m_figures.bars.end() ? 0 : found->second;
        bars.push_back({BarLabel(key, divisor), static_cast<double>(energy) / 1000.0});
    }
    m_chart->ShowBars(std::move(bars), ENERGY_COLOUR, "kWh");
}

QString CHistoryDlg::TitleText() const {
    QString title = m_cbSubject->currentText() + ", " + QString::fromStdString(m_period.Label());
    if (m_period.kind == PeriodKind::DAY) {
        const int hours = LocalCalendar().Bounds(m_period.anchor).Hours();
        title += hours != 24 ? QString(" (%1 hours)").arg(hours) : QString();
    }
    return title;
}

QString CHistoryDlg::TotalsText() const {
    if (!m_failure.isEmpty()) {
        return m_failure;
    }
    if (!m_figures.any) {
        return "No samples in this period";
    }
    QString text = "Energy: " + Energy(m_figures.energyWh);
    if (m_figures.peak.watts >= 0) {
        const bool plant = Subject() == SummaryReader::PLANT;
        text += QString("    %1: %2 W ")
                    .arg(plant ? "Peak (5-minute mean)" : "Peak")
                    .arg(m_figures.peak.watts);
        text += m_period.kind == PeriodKind::DAY
                    ? "at " + ClockText(m_figures.peak.time, plant ? "%H:%M" : "%H:%M:%S")
                    : "on " + ClockText(m_figures.peak.time, "%Y-%m-%d at %H:%M");
    }
    if (m_period.kind != PeriodKind::DAY && m_figures.bestDay != 0) {
        text += "    Best day: " + QString::fromStdString(PeriodKeyText(m_figures.bestDay, 1)) +
                ", " + Energy(m_figures.bestDayWh);
    }
    return text;
}

void CHistoryDlg::OnDateChosen() {
    ShowPeriod({m_period.kind, KeyOf(m_calendar->selectedDate())});
}

void CHistoryDlg::OnKindChosen(int index) {
    if (index >= 0 && index < static_cast<int>(KINDS.size())) {
        ShowPeriod({KINDS[static_cast<std::size_t>(index)], m_period.anchor});
    }
}

void CHistoryDlg::OnStep(int direction) {
    ShowPeriod(m_period.Step(direction));
}

// A bar opens the period it stands for.
void CHistoryDlg::OnBarClicked(int index) {
    if (index < 0 || index >= static_cast<int>(m_figures.barKeys.size())) {
        return;
    }
    const int key = m_figures.barKeys[static_cast<std::size_t>(index)];
    switch (m_period.kind) {
    case PeriodKind::MONTH: ShowPeriod({PeriodKind::DAY, key}); break;
    case PeriodKind::YEAR: ShowPeriod({PeriodKind::MONTH, key * 100 + 1}); break;
    case PeriodKind::ALL: ShowPeriod({PeriodKind::YEAR, key * 10000 + 101}); break;
    case PeriodKind::DAY: break;
    }
}

QString CHistoryDlg::ProposedName(const QString& extension) const {
    QString label = QString::fromStdString(m_period.Label());
    label.replace(' ', '-');
    return "History-" + m_cbSubject->currentText() + "-" + label + "." + extension;
}

void CHistoryDlg::OnExportCsv() {
    const QString path =
        FileDialog::GetSaveFileName(this, "Export", ProposedName("csv"), "CSV Files (*.csv)");
    if (path.isEmpty()) {
        return;
    }
    if (!m_problem.isEmpty()) {
        MessageBox::Show(this, m_problem, CAPTION);
        return;
    }
    const auto csv = HistoryCsv(m_reader, m_period, Subject());
    if (!csv) {
        MessageBox::Show(this, QString::fromStdString(csv.Reason()), CAPTION);
        return;
    }
    const std::string& text = *csv;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) !=
            static_cast<qint64>(text.size()) ||
        !file.flush()) {
        MessageBox::Show(this, "Cannot write " + path + ": " + file.errorString(), CAPTION);
    }
}

void CHistoryDlg::OnExportPng() {
    const QString path = FileDialog::GetSaveFileName(this, "Save picture", ProposedName("png"),
                                                     "PNG Pictures (*.png)");
    if (path.isEmpty()) {
        return;
    }
    if (!m_chart->Picture().save(path, "PNG")) {
        MessageBox::Show(this, "Cannot write " + path, CAPTION);
    }
}
